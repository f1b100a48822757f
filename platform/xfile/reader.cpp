// Entry points of the .x reader: the file header, the choice of encoding, and the file itself.
#include "platform/xfile/reader.h"

#include <cstring>
#include <new>
#include <stdexcept>

#include "platform/xfile/decompress.h"
#include "platform/xfile/file_io.h"
#include "platform/xfile/mesh.h"
#include "platform/xfile/parser.h"
#include "platform/xfile/tokens.h"

namespace {

constexpr std::size_t kHeaderSize = 16;
constexpr std::size_t kMaxFileSize = std::size_t{1} << 30;

struct XHeader {
  bool binary = false;
  bool compressed = false;
  bool doubles = false;
};

bool IsDigits(const std::uint8_t* p, int count) {
  for (int i = 0; i < count; ++i) {
    if (p[i] < '0' || p[i] > '9') return false;
  }
  return true;
}

// "xof ", a four-digit version, the encoding and the float size.
bool ReadHeader(const std::uint8_t* data, std::size_t size, XHeader& header) {
  if (size < kHeaderSize || std::memcmp(data, "xof ", 4) != 0 || !IsDigits(data + 4, 4)) {
    return false;
  }
  const char* format = reinterpret_cast<const char*>(data + 8);
  const char* floats = reinterpret_cast<const char*>(data + 12);
  header.binary = std::memcmp(format, "bin ", 4) == 0 || std::memcmp(format, "bzip", 4) == 0;
  header.compressed = std::memcmp(format, "tzip", 4) == 0 || std::memcmp(format, "bzip", 4) == 0;
  const bool text = std::memcmp(format, "txt ", 4) == 0;
  header.doubles = std::memcmp(floats, "0064", 4) == 0;
  return (text || header.binary || header.compressed) &&
         (header.doubles || std::memcmp(floats, "0032", 4) == 0);
}

bool Parse(const std::uint8_t* data, std::size_t size, KvXMeshData& out, std::string& error) {
  XHeader header;
  if (!data || !ReadHeader(data, size, header)) {
    error = "not a .x file";
    return false;
  }
  std::vector<std::uint8_t> inflated;
  const std::uint8_t* body = data + kHeaderSize;
  std::size_t bodySize = size - kHeaderSize;
  if (header.compressed) {
    if (!KvXInflate(body, bodySize, inflated, error)) return false;
    body = inflated.data();
    bodySize = inflated.size();
  }
  KvXTokenizer tokens(body, bodySize, header.binary, header.doubles);
  KvXParser parser(tokens);
  KvXScene scene;
  if (!parser.ParseFile(scene)) {
    error = parser.Error();
    return false;
  }
  return KvBuildXMesh(scene, out, error);
}

}  // namespace

bool KvParseXFile(const std::uint8_t* data, std::size_t size, KvXMeshData& out,
                  std::string* error) {
  std::string reason;
  bool ok = false;
  try {
    ok = Parse(data, size, out, reason);
  } catch (const std::bad_alloc&) {
    reason = "out of memory";
  } catch (const std::length_error&) {
    reason = "out of memory";
  }
  if (!ok) out = KvXMeshData{};
  if (!ok && error) *error = reason;
  return ok;
}

bool KvReadXFile(const char* path, KvXMeshData& out, std::string* error) {
  out = KvXMeshData{};
  std::vector<std::uint8_t> bytes;
  if (!KvReadWholeFile(path, bytes, kMaxFileSize)) {
    if (error) *error = "cannot read " + KvNativePath(path);
    return false;
  }
  return KvParseXFile(bytes.data(), bytes.size(), out, error);
}
