// What an image file says about itself before it is decoded: its format, told by its first
// bytes, and the size its header claims. The decoder refuses claims beyond its limits here,
// before a reader allocates for them.
#pragma once

#include <cstddef>
#include <cstdint>

struct KvImageLimits;

enum class KvImageFormat { kPng, kJpeg, kBmp, kTga };

struct KvImageHeader {
  KvImageFormat format = KvImageFormat::kTga;
  std::uint64_t width = 0;
  std::uint64_t height = 0;
};

// False when the bytes are too short to hold a header, or a JPEG has no frame header before
// its first scan. A file that is not PNG, JPEG or BMP is read as TGA, which has no signature.
bool KvReadImageHeader(const std::uint8_t* data, std::size_t size, KvImageHeader& header);

// Whether an image of this size is within the limits, for its header's claim and for what a
// reader decoded.
bool KvImageWithinLimits(std::uint64_t width, std::uint64_t height, const KvImageLimits& limits);
