// The testing seam's device access: the back buffer, the last presented picture, and the
// switch between gathered and one-at-a-time draws.
#include <stb_image_write.h>

#include "platform/d3d9/device.h"
#include "platform/d3d9/testing_device.h"

bool& KvKeepPresentedPictures() {
  static bool keep = false;
  return keep;
}

namespace kv_testing {

bool ReadBackBuffer(IDirect3DDevice9* device, std::vector<DWORD>& pixels, UINT& width,
                    UINT& height) {
  auto* ours = dynamic_cast<KvDevice*>(device);
  if (!ours) return false;
  ours->ReadBackBuffer(pixels);
  width = ours->Width();
  height = ours->Height();
  return true;
}

bool SaveBackBufferPng(IDirect3DDevice9* device, const char* path) {
  std::vector<DWORD> pixels;
  UINT width = 0;
  UINT height = 0;
  if (!path || !ReadBackBuffer(device, pixels, width, height)) return false;
  std::vector<unsigned char> rgb;
  rgb.reserve(pixels.size() * 3);
  for (DWORD p : pixels) {
    rgb.push_back((p >> 16) & 0xFF);
    rgb.push_back((p >> 8) & 0xFF);
    rgb.push_back(p & 0xFF);
  }
  return stbi_write_png(path, int(width), int(height), 3, rgb.data(), int(width * 3)) != 0;
}

bool SetDrawBatching(IDirect3DDevice9* device, bool on) {
  auto* ours = dynamic_cast<KvDevice*>(device);
  if (ours) ours->SetDrawBatching(on);
  return ours != nullptr;
}

void KeepPresentedPictures(bool keep) {
  KvKeepPresentedPictures() = keep;
}

bool ReadPresentedPicture(IDirect3DDevice9* device, std::vector<DWORD>& pixels, UINT& width,
                          UINT& height) {
  auto* ours = dynamic_cast<KvDevice*>(device);
  return ours && ours->ReadPresented(pixels, width, height);
}

}  // namespace kv_testing
