// Files stb_image must not be given: crafted inputs on which its readers write or allocate out
// of bounds, found by fuzzing (tests/fuzz/crashes/texture/). SDL2_image's libraries refuse
// them by themselves; the stb reader refuses them here, before decoding.
#pragma once

#include <cstddef>
#include <cstdint>

#include "platform/image/image_header.h"

// False for a PNG with a chunk longer than what follows it (stb_image allocates the claimed
// length first) or empty image data before any (it copies into a buffer it never allocated),
// and for a JPEG with a Huffman table of more than 256 codes (it writes past the table) or a
// scan that decodes with a Huffman or quantisation table not defined before it (it reads one it
// never set).
bool KvStbCanRead(const std::uint8_t* data, std::size_t size, KvImageFormat format);
