#include "tests/support/image_files.h"

#include <unistd.h>

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

std::vector<unsigned char> KvBmpBytes(int width, int height, const std::vector<DWORD>& texels) {
  const unsigned rowBytes = (unsigned(width) * 3 + 3) & ~3u, imageBytes = rowBytes * height;
  std::vector<unsigned char> out = {'B', 'M'};
  // File size, reserved, data offset; info header size, width, height, planes and bits per
  // texel, no compression, image size, 72 dpi both ways, no palette.
  for (unsigned field : {54 + imageBytes, 0u, 54u, 40u, unsigned(width), unsigned(height),
                         1u | 24u << 16, 0u, imageBytes, 2835u, 2835u, 0u, 0u}) {
    for (int shift : {0, 8, 16, 24}) out.push_back((field >> shift) & 0xFF);
  }
  for (int y = height - 1; y >= 0; --y) {  // bottom row first, blue green red
    const DWORD* row = &texels[size_t(y) * size_t(width)];
    for (int x = 0; x < width; ++x)
      for (int shift : {0, 8, 16}) out.push_back((row[x] >> shift) & 0xFF);
    out.resize(out.size() + rowBytes - width * 3);
  }
  return out;
}

void KvWriteBmp(const std::string& path, int width, int height, const std::vector<DWORD>& texels) {
  KvWriteBytes(path, KvBmpBytes(width, height, texels));
}

void KvWriteBytes(const std::string& path, const std::vector<unsigned char>& bytes) {
  std::ofstream file(path, std::ios::binary);
  file.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
}

std::vector<unsigned char> KvReadBytes(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  return std::vector<unsigned char>(std::istreambuf_iterator<char>(file), {});
}
