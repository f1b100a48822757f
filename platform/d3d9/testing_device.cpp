// The testing seam's device access: the back buffer, the last presented picture, and the
// switch between gathered and one-at-a-time draws.
#include "platform/d3d9/testing_device.h"
#include "platform/d3d9/device.h"

bool& KvKeepPresentedPictures() {
  static bool keep = false;
  return keep;
}

bool& KvDrawOffscreen() {
  static bool offscreen = false;
  return offscreen;
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

bool SetDrawBatching(IDirect3DDevice9* device, bool on) {
  auto* ours = dynamic_cast<KvDevice*>(device);
  if (ours) ours->SetDrawBatching(on);
  return ours != nullptr;
}

bool SimulateContextLoss(IDirect3DDevice9* device, bool lost) {
  auto* ours = dynamic_cast<KvDevice*>(device);
  if (ours) ours->SimulateContextLoss(lost);
  return ours != nullptr;
}

void DrawOffscreen(bool offscreen) {
  KvDrawOffscreen() = offscreen;
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
