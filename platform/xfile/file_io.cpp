#include "platform/xfile/file_io.h"

#include <cstdio>

std::string KvNativePath(const char* name) {
  std::string path = name ? name : "";
  for (char& c : path) {
    if (c == '\\') c = '/';
  }
  return path;
}

bool KvReadWholeFile(const char* name, std::vector<std::uint8_t>& bytes, std::size_t maxBytes) {
  bytes.clear();
  if (!name || !*name) return false;
  std::FILE* file = std::fopen(KvNativePath(name).c_str(), "rb");
  if (!file) return false;
  bool ok = std::fseek(file, 0, SEEK_END) == 0;
  const long size = ok ? std::ftell(file) : -1;
  ok = ok && size >= 0 && static_cast<unsigned long>(size) <= maxBytes &&
       std::fseek(file, 0, SEEK_SET) == 0;
  if (ok) {
    bytes.resize(static_cast<std::size_t>(size));
    ok = std::fread(bytes.data(), 1, bytes.size(), file) == bytes.size();
  }
  std::fclose(file);
  if (!ok) bytes.clear();
  return ok;
}
