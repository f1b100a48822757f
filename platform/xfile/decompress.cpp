// Inflating the compressed .x forms block by block with zlib.
#include "platform/xfile/decompress.h"

#include <zlib.h>

#include <algorithm>

namespace {

constexpr std::size_t kHeaderSize = 16;
constexpr std::size_t kBlockHeaderSize = 4;
constexpr std::size_t kMaxDictionary = 32768;
constexpr std::uint64_t kMaxBlockOutput = 0xFFFF;
// A block needs its header, "CK" and at least two bytes of deflate data.
constexpr std::uint64_t kMinBlockSize = kBlockHeaderSize + 4;

std::uint32_t ReadLittle(const std::uint8_t* p, int bytes) {
  std::uint32_t value = 0;
  for (int i = bytes - 1; i >= 0; --i) value = value << 8 | p[i];
  return value;
}

// Inflates one block's raw deflate stream into exactly `target` bytes appended to out.
bool InflateBlock(const std::uint8_t* in, std::size_t inSize, std::size_t target,
                  std::vector<std::uint8_t>& out) {
  z_stream stream{};
  if (inflateInit2(&stream, -MAX_WBITS) != Z_OK) return false;
  const std::size_t history = std::min(out.size(), kMaxDictionary);
  bool ok = history == 0 || inflateSetDictionary(&stream, out.data() + out.size() - history,
                                                 static_cast<uInt>(history)) == Z_OK;
  const std::size_t start = out.size();
  out.resize(start + target);
  stream.next_in = const_cast<Bytef*>(in);
  stream.avail_in = static_cast<uInt>(inSize);
  stream.next_out = out.data() + start;
  stream.avail_out = static_cast<uInt>(target);
  ok = ok && inflate(&stream, Z_FINISH) == Z_STREAM_END && stream.avail_out == 0;
  inflateEnd(&stream);
  return ok;
}

}  // namespace

bool KvXInflate(const std::uint8_t* data, std::size_t size, std::vector<std::uint8_t>& out,
                std::string& error) {
  out.clear();
  if (size < 4) {
    error = "truncated compressed header";
    return false;
  }
  const std::uint32_t total = ReadLittle(data, 4);
  std::size_t pos = 4;
  const std::uint64_t possible = (size - pos) / kMinBlockSize * kMaxBlockOutput;
  if (total < kHeaderSize || total - kHeaderSize > possible) {
    error = "bad uncompressed size";
    return false;
  }
  const std::size_t expected = total - kHeaderSize;
  while (out.size() < expected) {
    if (size - pos < kBlockHeaderSize) {
      error = "truncated compressed block";
      return false;
    }
    const std::size_t blockOut = ReadLittle(data + pos, 2);
    const std::size_t blockIn = ReadLittle(data + pos + 2, 2);
    pos += kBlockHeaderSize;
    if (blockIn < 2 || blockIn > size - pos || data[pos] != 'C' || data[pos + 1] != 'K' ||
        blockOut > expected - out.size()) {
      error = "malformed compressed block";
      return false;
    }
    if (!InflateBlock(data + pos + 2, blockIn - 2, blockOut, out)) {
      error = "corrupt compressed data";
      return false;
    }
    pos += blockIn;
  }
  return true;
}
