#include "tests/support/image_files.h"

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>

KvTempFolder::KvTempFolder() {
  char pattern[] = "/tmp/kv-test-XXXXXX";
  const char* made = mkdtemp(pattern);
  folder_ = made ? made : "/tmp";
}

KvTempFolder::~KvTempFolder() {
  std::error_code ignored;
  if (folder_ != "/tmp") std::filesystem::remove_all(folder_, ignored);
}

namespace {

void Put16(std::vector<unsigned char>& out, unsigned value) {
  out.push_back(value & 0xFF);
  out.push_back((value >> 8) & 0xFF);
}

void Put32(std::vector<unsigned char>& out, unsigned value) {
  Put16(out, value & 0xFFFF);
  Put16(out, value >> 16);
}

}  // namespace

void KvWriteBmp(const std::string& path, int width, int height, const std::vector<DWORD>& texels) {
  const unsigned rowBytes = (unsigned(width) * 3 + 3) & ~3u;
  const unsigned imageBytes = rowBytes * unsigned(height);
  std::vector<unsigned char> out;
  out.push_back('B');
  out.push_back('M');
  Put32(out, 54 + imageBytes);
  Put32(out, 0);
  Put32(out, 54);
  Put32(out, 40);
  Put32(out, unsigned(width));
  Put32(out, unsigned(height));
  Put16(out, 1);
  Put16(out, 24);
  Put32(out, 0);
  Put32(out, imageBytes);
  Put32(out, 2835);
  Put32(out, 2835);
  Put32(out, 0);
  Put32(out, 0);
  for (int y = height - 1; y >= 0; --y) {  // bottom row first
    const size_t start = out.size();
    for (int x = 0; x < width; ++x) {
      const DWORD t = texels[size_t(y) * size_t(width) + size_t(x)];
      out.push_back(t & 0xFF);
      out.push_back((t >> 8) & 0xFF);
      out.push_back((t >> 16) & 0xFF);
    }
    while (out.size() - start < rowBytes) out.push_back(0);
  }
  KvWriteBytes(path, out);
}

void KvWriteBytes(const std::string& path, const std::vector<unsigned char>& bytes) {
  std::ofstream file(path, std::ios::binary);
  file.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
}

std::vector<unsigned char> KvReadBytes(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  return std::vector<unsigned char>(std::istreambuf_iterator<char>(file), {});
}
