#include "platform/image/stb_guards.h"

namespace {

std::uint32_t BigEndian32(const std::uint8_t* p) {
  return std::uint32_t(p[0]) << 24 | std::uint32_t(p[1]) << 16 | std::uint32_t(p[2]) << 8 | p[3];
}

// Chunks after the signature: length, type, data, CRC, up to the end chunk.
bool PngChunksSound(const std::uint8_t* data, std::size_t size) {
  bool imageData = false;
  for (std::size_t at = 8; at + 8 <= size;) {
    const std::uint64_t length = BigEndian32(data + at);
    const std::uint8_t* type = data + at + 4;
    if (at + 12 + length > size) return false;
    if (type[0] == 'I' && type[1] == 'D' && type[2] == 'A' && type[3] == 'T') {
      if (length == 0 && !imageData) return false;
      imageData = true;
    }
    if (type[0] == 'I' && type[1] == 'E' && type[2] == 'N' && type[3] == 'D') break;
    at += 12 + length;
  }
  return true;
}

// One table-definition segment from its length field on: class and slot, 16 code counts, and
// as many symbols as the counts add up to, for each table in it.
bool HuffmanSegmentSound(const std::uint8_t* data, std::size_t size, std::size_t at) {
  if (at + 2 > size) return true;
  const std::size_t end = at + (std::size_t(data[at]) << 8 | data[at + 1]);
  for (at += 2; at + 17 <= end && at + 17 <= size;) {
    std::size_t codes = 0;
    for (int i = 1; i <= 16; ++i) codes += data[at + i];
    if (codes > 256) return false;
    at += 17 + codes;
  }
  return true;
}

// Every place stb_image could take for a table definition: a marker byte 0xC4 after one or more
// 0xFF, wherever it stands, as the reader skips padding and fill between segments.
bool JpegTablesSound(const std::uint8_t* data, std::size_t size) {
  for (std::size_t at = 0; at + 1 < size; ++at) {
    if (data[at] != 0xFF || data[at + 1] == 0xFF) continue;
    if (data[at + 1] == 0xC4 && !HuffmanSegmentSound(data, size, at + 2)) return false;
  }
  return true;
}

}  // namespace

bool KvStbCanRead(const std::uint8_t* data, std::size_t size, KvImageFormat format) {
  if (format == KvImageFormat::kPng) return PngChunksSound(data, size);
  if (format == KvImageFormat::kJpeg) return JpegTablesSound(data, size);
  return true;
}
