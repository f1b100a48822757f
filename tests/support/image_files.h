// Small image and data files written by tests into a temporary folder.
#pragma once

#include <string>
#include <vector>

#include "platform/d3d9.h"

// A fresh folder under the system's temporary folder, removed by the destructor.
class KvTempFolder {
 public:
  KvTempFolder();
  ~KvTempFolder();
  std::string Path(const std::string& name) const { return folder_ + "/" + name; }

 private:
  std::string folder_;
};

// An opaque 24-bit BMP file, or writes one; texels ARGB, rows top to bottom (alpha ignored).
std::vector<unsigned char> KvBmpBytes(int width, int height, const std::vector<DWORD>& texels);
void KvWriteBmp(const std::string& path, int width, int height, const std::vector<DWORD>& texels);
void KvWriteBytes(const std::string& path, const std::vector<unsigned char>& bytes);
std::vector<unsigned char> KvReadBytes(const std::string& path);
