// A file image in memory as the stream SDL2_image reads from.
#pragma once

#include <SDL.h>

#include <cstddef>
#include <cstdint>

// Reads past the end deliver zeros. SDL2_image's PNG reader ignores short reads, so libpng
// would otherwise take whatever its buffer held before: a chunk claiming more bytes than the
// file holds then made it read the same stale chunk header again and again, without end. A
// header of zeros names no chunk, and libpng stops there. Null if SDL cannot make the stream;
// SDL_RWclose frees it. The bytes must outlive the stream.
SDL_RWops* KvOpenMemorySource(const std::uint8_t* data, std::size_t size);
