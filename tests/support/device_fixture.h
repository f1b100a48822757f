// A real device on a hidden window for device tests (run with SDL's offscreen video driver),
// with helpers to draw simple geometry and read pixels back.
#pragma once

#include <gtest/gtest.h>

#include <vector>

#include "platform/d3dx9.h"

struct KvTestVertex {  // D3DFVF_XYZ | D3DFVF_DIFFUSE | D3DFVF_TEX1
  float x, y, z;
  D3DCOLOR color;
  float u, v;
};
constexpr DWORD kTestVertexFvf = D3DFVF_XYZ | D3DFVF_DIFFUSE | D3DFVF_TEX1;

constexpr DWORD Rgb(DWORD argb) {
  return argb & 0xFFFFFF;
}
inline int Channel(DWORD rgb, int shift) {
  return static_cast<int>((rgb >> shift) & 0xFF);
}

class KvDeviceTest : public ::testing::Test {
 protected:
  void TearDown() override;

  // Creates a window of the given size and a device with an 800 × 600 back buffer on it.
  void Open(int windowWidth = 800, int windowHeight = 600);
  void Clear(D3DCOLOR color) {
    device->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, color, 1.0f, 0);
  }
  // A vertex buffer holding `vertices`, set as stream 0 with the test vertex format; released
  // with the test.
  IDirect3DVertexBuffer9* Buffer(const std::vector<KvTestVertex>& vertices);
  // Draws a quad covering [x0, x1] × [y0, y1] of clip space at depth z (all transforms
  // identity), wound clockwise on screen.
  void DrawQuad(float x0, float y0, float x1, float y1, float z, D3DCOLOR color);
  std::vector<DWORD> ReadBack();
  // Pixel at (x, y) of the 800 × 600 back buffer, y down, as 0xRRGGBB.
  DWORD Pixel(int x, int y) { return Rgb(ReadBack()[size_t(y) * 800 + size_t(x)]); }

  std::vector<IUnknown*> owned;  // released, bound or not, before the device at the end
  HWND window = nullptr;
  IDirect3D9* direct3D = nullptr;
  IDirect3DDevice9* device = nullptr;
};
