#include "platform/image/png_check.h"

#include <algorithm>
#include <cstring>

namespace {

constexpr std::uint8_t kSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};

std::uint32_t BigEndian32(const std::uint8_t* p) {
  return std::uint32_t(p[0]) << 24 | std::uint32_t(p[1]) << 16 | std::uint32_t(p[2]) << 8 | p[3];
}

}  // namespace

bool KvPngChunksSound(const std::uint8_t* data, std::size_t size) {
  if (size < sizeof kSignature || std::memcmp(data, kSignature, sizeof kSignature) != 0) {
    return true;
  }
  std::size_t pos = sizeof kSignature;
  bool imageData = false;
  // Each chunk: length, type, data of that length, checksum. Reading stops at the end.
  while (size - pos >= 8) {
    const std::uint32_t length = BigEndian32(data + pos);
    const bool last = std::memcmp(data + pos + 4, "IEND", 4) == 0;
    if (length > size - pos - 8) return false;
    if (last) return true;
    if (std::memcmp(data + pos + 4, "IDAT", 4) == 0) {
      if (length == 0 && !imageData) return false;
      imageData = true;
    }
    pos += 8 + std::size_t(length);
    pos += std::min<std::size_t>(4, size - pos);  // the checksum
  }
  return true;
}
