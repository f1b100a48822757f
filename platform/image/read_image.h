// One image file's bytes to ARGB texels through SDL2_image.
#pragma once

#include <cstddef>
#include <cstdint>

#include "platform/image/image_decode.h"

// Reads a PNG, JPEG, BMP or TGA from memory. False for anything else, for a file that does
// not decode, and for an image beyond the limits (refused from its header where it says so,
// before it is decoded).
bool KvReadImage(const std::uint8_t* data, std::size_t size, const KvImageLimits& limits,
                 KvImage& image);
