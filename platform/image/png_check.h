// A guard in front of stb_image's PNG reader.
#pragma once

#include <cstddef>
#include <cstdint>

// False for a PNG with a chunk claiming more bytes than the file still holds (stb_image would
// grow its buffer towards that length, up to gigabytes, before finding the data missing), or
// whose first image data chunk is empty (stb_image would copy those no bytes into a buffer it
// has not made yet); true for anything else, including files that are not PNG at all.
bool KvPngChunksSound(const std::uint8_t* data, std::size_t size);
