// A guard in front of stb_image's JPEG reader.
#pragma once

#include <cstddef>
#include <cstdint>

// False for a JPEG whose Huffman tables would make stb_image read or write out of bounds (a
// table of more than 256 codes, or a scan using a table never defined); true for anything
// else, including files that are not JPEG at all.
bool KvJpegTablesSound(const std::uint8_t* data, std::size_t size);
