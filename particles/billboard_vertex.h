// The vertex of the particle quad and the quad itself.
#pragma once

#include "platform/d3d9.h"

struct KV_BILLBOARD_VERTEX {
  float x, y, z;
  float tu, tv;
};
static_assert(sizeof(KV_BILLBOARD_VERTEX) == 20);

inline constexpr DWORD kBillboardFvf = D3DFVF_XYZ | D3DFVF_TEX1;  // 0x102
inline constexpr UINT kBillboardStride = sizeof(KV_BILLBOARD_VERTEX);

// The unit quad in the plane z = 0, in triangle-strip order. Its first triangle runs
// clockwise seen from -z, so the front face looks toward -z. u runs from 1 on the left edge
// to 0 on the right; v from 1 at the bottom to 0 at the top.
inline constexpr KV_BILLBOARD_VERTEX kBillboardQuad[4] = {
    {-0.5f, -0.5f, 0.0f, 1.0f, 1.0f},
    {-0.5f, 0.5f, 0.0f, 1.0f, 0.0f},
    {0.5f, -0.5f, 0.0f, 0.0f, 1.0f},
    {0.5f, 0.5f, 0.0f, 0.0f, 0.0f},
};
inline constexpr UINT kBillboardQuadBytes = sizeof(kBillboardQuad);  // 80
