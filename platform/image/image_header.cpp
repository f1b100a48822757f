// The size in each format's header, read where its reader reads it.
#include "platform/image/image_header.h"

#include <cstdlib>
#include <cstring>

#include "platform/image/image_decode.h"

namespace {

std::uint32_t BigEndian(const std::uint8_t* p, int bytes) {
  std::uint32_t value = 0;
  for (int i = 0; i < bytes; ++i) value = value << 8 | p[i];
  return value;
}

std::uint32_t LittleEndian(const std::uint8_t* p, int bytes) {
  std::uint32_t value = 0;
  for (int i = bytes - 1; i >= 0; --i) value = value << 8 | p[i];
  return value;
}

bool StartsWith(const std::uint8_t* data, std::size_t size, const char* signature,
                std::size_t length) {
  return size >= length && std::memcmp(data, signature, length) == 0;
}

// The first chunk of a PNG is its header: width and height, big-endian.
bool PngSize(const std::uint8_t* data, std::size_t size, KvImageHeader& header) {
  if (size < 24 || std::memcmp(data + 12, "IHDR", 4) != 0) return false;
  header.width = BigEndian(data + 16, 4);
  header.height = BigEndian(data + 20, 4);
  return true;
}

// A BMP's info header holds 16-bit sizes in its oldest form and signed 32-bit ones otherwise;
// a negative height is a picture stored top row first.
bool BmpSize(const std::uint8_t* data, std::size_t size, KvImageHeader& header) {
  if (size < 26) return false;
  if (LittleEndian(data + 14, 4) == 12) {
    header.width = LittleEndian(data + 18, 2);
    header.height = LittleEndian(data + 20, 2);
    return true;
  }
  if (size < 30) return false;
  const auto width = std::int64_t(std::int32_t(LittleEndian(data + 18, 4)));
  const auto height = std::int64_t(std::int32_t(LittleEndian(data + 22, 4)));
  header.width = width < 0 ? 0 : std::uint64_t(width);
  header.height = std::uint64_t(std::llabs(height));
  return true;
}

bool TgaSize(const std::uint8_t* data, std::size_t size, KvImageHeader& header) {
  if (size < 18) return false;
  header.width = LittleEndian(data + 12, 2);
  header.height = LittleEndian(data + 14, 2);
  return true;
}

bool IsFrameHeader(std::uint8_t marker) {
  return marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
}

// Walks the JPEG's segments as its reader does (bytes before a marker skipped, 0xFF fill
// collapsed, a stuffed zero not a marker) up to the first frame header.
bool JpegSize(const std::uint8_t* data, std::size_t size, KvImageHeader& header) {
  std::size_t at = 2;
  while (at < size) {
    while (at < size && data[at] != 0xFF) ++at;
    while (at < size && data[at] == 0xFF) ++at;
    if (at >= size) return false;
    const std::uint8_t marker = data[at++];
    if (marker == 0 || marker == 0x01 || (marker >= 0xD0 && marker <= 0xD7)) continue;
    if (marker == 0xD8 || marker == 0xD9 || marker == 0xDA || at + 2 > size) return false;
    const std::size_t length = BigEndian(data + at, 2);
    if (length < 2) return false;
    if (IsFrameHeader(marker)) {
      if (at + 7 > size) return false;
      header.height = BigEndian(data + at + 3, 2);
      header.width = BigEndian(data + at + 5, 2);
      return true;
    }
    at += length;
  }
  return false;
}

}  // namespace

bool KvReadImageHeader(const std::uint8_t* data, std::size_t size, KvImageHeader& header) {
  header = KvImageHeader{};
  if (StartsWith(data, size, "\x89PNG\r\n\x1A\n", 8)) {
    header.format = KvImageFormat::kPng;
    return PngSize(data, size, header);
  }
  if (StartsWith(data, size, "\xFF\xD8", 2)) {
    header.format = KvImageFormat::kJpeg;
    return JpegSize(data, size, header);
  }
  if (StartsWith(data, size, "BM", 2)) {
    header.format = KvImageFormat::kBmp;
    return BmpSize(data, size, header);
  }
  header.format = KvImageFormat::kTga;
  return TgaSize(data, size, header);
}

bool KvImageWithinLimits(std::uint64_t width, std::uint64_t height, const KvImageLimits& limits) {
  return width > 0 && height > 0 && width <= limits.largestSide && height <= limits.largestSide &&
         width * height <= limits.largestTexels;
}
