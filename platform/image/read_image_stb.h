// One image file's bytes to ARGB texels through stb_image: the browser build's decoder, which
// the desktop build also compiles so that tests can hold its texels against SDL2_image's.
#pragma once

#include <cstddef>
#include <cstdint>

#include "platform/image/image_decode.h"

// As KvReadImage: a PNG, JPEG, BMP or TGA from memory; false for anything else, for a file
// that does not decode, and for an image beyond the limits (refused from its header where it
// says so, before it is decoded).
bool KvReadImageStb(const std::uint8_t* data, std::size_t size, const KvImageLimits& limits,
                    KvImage& image);
