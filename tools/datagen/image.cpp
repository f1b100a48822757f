#include "image.h"

#include <zlib.h>

#include <cstdio>

namespace datagen {
namespace {

std::uint8_t ToByte(double v) {
  return static_cast<std::uint8_t>(Clamp(v, 0.0, 1.0) * 255.0 + 0.5);
}

void PutU32(std::vector<std::uint8_t>& out, std::uint32_t v) {
  out.push_back(static_cast<std::uint8_t>(v >> 24));
  out.push_back(static_cast<std::uint8_t>(v >> 16));
  out.push_back(static_cast<std::uint8_t>(v >> 8));
  out.push_back(static_cast<std::uint8_t>(v));
}

void PutChunk(std::vector<std::uint8_t>& out, const char type[4],
              const std::vector<std::uint8_t>& data) {
  PutU32(out, static_cast<std::uint32_t>(data.size()));
  std::size_t start = out.size();
  out.insert(out.end(), type, type + 4);
  out.insert(out.end(), data.begin(), data.end());
  uLong crc = crc32(0L, Z_NULL, 0);
  crc = crc32(crc, out.data() + start, static_cast<uInt>(out.size() - start));
  PutU32(out, static_cast<std::uint32_t>(crc));
}

// A zlib stream of stored deflate blocks (at most 65535 bytes each) and the Adler-32 sum.
std::vector<std::uint8_t> StoredZlib(const std::vector<std::uint8_t>& raw) {
  std::vector<std::uint8_t> out = {0x78, 0x01};
  std::size_t pos = 0;
  do {
    std::size_t len = raw.size() - pos;
    if (len > 65535) len = 65535;
    bool last = pos + len == raw.size();
    out.push_back(last ? 1 : 0);
    out.push_back(static_cast<std::uint8_t>(len & 0xFF));
    out.push_back(static_cast<std::uint8_t>(len >> 8));
    out.push_back(static_cast<std::uint8_t>(~len & 0xFF));
    out.push_back(static_cast<std::uint8_t>((~len >> 8) & 0xFF));
    out.insert(out.end(), raw.begin() + pos, raw.begin() + pos + len);
    pos += len;
  } while (pos < raw.size());
  uLong sum = adler32(0L, Z_NULL, 0);
  sum = adler32(sum, raw.data(), static_cast<uInt>(raw.size()));
  PutU32(out, static_cast<std::uint32_t>(sum));
  return out;
}

}  // namespace

void Image::Set(int x, int y, Rgb c) {
  SetBytes(x, y, ToByte(c.r), ToByte(c.g), ToByte(c.b));
}

void Image::SetBytes(int x, int y, std::uint8_t r, std::uint8_t g, std::uint8_t b) {
  std::uint8_t* p = &rgb[(static_cast<std::size_t>(y) * width + x) * 3];
  p[0] = r;
  p[1] = g;
  p[2] = b;
}

std::vector<std::uint8_t> EncodePng(const Image& image) {
  std::vector<std::uint8_t> out = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  std::vector<std::uint8_t> header;
  PutU32(header, static_cast<std::uint32_t>(image.width));
  PutU32(header, static_cast<std::uint32_t>(image.height));
  header.insert(header.end(),
                {8, 2, 0, 0, 0});  // depth 8, truecolour, deflate, filter, no interlace
  PutChunk(out, "IHDR", header);

  std::vector<std::uint8_t> raw;
  std::size_t rowBytes = static_cast<std::size_t>(image.width) * 3;
  raw.reserve((rowBytes + 1) * image.height);
  for (int y = 0; y < image.height; ++y) {
    raw.push_back(0);
    const std::uint8_t* row = image.At(0, y);
    raw.insert(raw.end(), row, row + rowBytes);
  }
  PutChunk(out, "IDAT", StoredZlib(raw));
  PutChunk(out, "IEND", {});
  return out;
}

bool WriteFile(const std::string& path, const std::vector<std::uint8_t>& bytes) {
  std::FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) return false;
  bool ok = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
  return std::fclose(f) == 0 && ok;
}

}  // namespace datagen
