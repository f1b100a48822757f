// Everything a device was told to draw with: render and sampler states, transforms, viewport
// and what is bound, plus the groups of it that changed since they were last applied.
#pragma once

#include <array>

#include "platform/d3dx9.h"

// The groups a change marks and a draw applies. Transforms are not OpenGL state: a change
// there means the product world × view × projection must be made again. The OpenGL state
// cache reports the groups whose OpenGL state anything else changed, in the same bits.
enum KvDirtyGroup : unsigned {
  kKvDirtyBlend = 1u << 0,      // blending, its factors and the colour write mask
  kKvDirtyDepth = 1u << 1,      // depth test, its function and depth writes
  kKvDirtyCull = 1u << 2,       // the cull mode
  kKvDirtyAlphaTest = 1u << 3,  // alpha test, its function and reference
  kKvDirtyTexture = 1u << 4,    // stage 0's texture and its sampler
  kKvDirtyStream = 1u << 5,     // the vertex array and the stream its attributes read
  kKvDirtyTransforms = 1u << 6,
  kKvDirtyViewport = 1u << 7,     // the viewport and its depth range
  kKvDirtyFramebuffer = 1u << 8,  // where draws go: the window or the offscreen back buffer
  kKvDirtyProgram = 1u << 9,      // the shader program in use and its uniforms
};
// Every group applied to OpenGL.
inline constexpr unsigned kKvDirtyOpenGl = kKvDirtyBlend | kKvDirtyDepth | kKvDirtyCull |
                                           kKvDirtyAlphaTest | kKvDirtyTexture | kKvDirtyStream |
                                           kKvDirtyViewport | kKvDirtyFramebuffer | kKvDirtyProgram;

struct KvDeviceState {
  // A new device's state; the depth test is on when the device has a depth buffer.
  KvDeviceState(UINT width, UINT height, bool depthBuffer);

  std::array<DWORD, D3DRS_COUNT> renderStates{};
  std::array<std::array<DWORD, D3DSAMP_COUNT>, D3DSAMPLER_COUNT> samplerStates{};
  D3DXMATRIX world;
  D3DXMATRIX view;
  D3DXMATRIX projection;
  D3DVIEWPORT9 viewport;
  // What is bound is not referenced: a resource unbinds itself when it is destroyed.
  IDirect3DBaseTexture9* texture = nullptr;
  IDirect3DVertexBuffer9* stream = nullptr;
  UINT streamOffset = 0;
  UINT streamStride = 0;
  IDirect3DIndexBuffer9* indices = nullptr;
  DWORD fvf = 0;

  unsigned dirty = kKvDirtyOpenGl | kKvDirtyTransforms;
  // Which of `groups` are dirty; they are clean afterwards.
  unsigned Take(unsigned groups) {
    const unsigned taken = dirty & groups;
    dirty &= ~groups;
    return taken;
  }
};

// The group a render state belongs to; 0 for states that do not change what is drawn.
unsigned KvRenderStateGroup(D3DRENDERSTATETYPE state);
