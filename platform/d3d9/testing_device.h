// The device's testing seam: tests and the offscreen capture tool read the picture and
// switch gathered draws through it. Nothing in the application uses it.
#pragma once

#include <vector>

#include "platform/d3d9.h"

namespace kv_testing {

// The device's back buffer as ARGB texels, rows top to bottom. A device drawing into its
// window holds the frame there only until Present; DrawOffscreen(true) keeps it after.
bool ReadBackBuffer(IDirect3DDevice9* device, std::vector<DWORD>& pixels, UINT& width,
                    UINT& height);
bool SaveBackBufferPng(IDirect3DDevice9* device, const char* path);

// Whether the device gathers draws that differ only in the world transform into one OpenGL
// draw (on unless a test or benchmark compares against drawing them one at a time).
bool SetDrawBatching(IDirect3DDevice9* device, bool on);

// Whether devices draw every frame into their offscreen back buffer, even where they could
// draw into the window (from the next frame; off unless the capture tool saves pictures).
void DrawOffscreen(bool offscreen);

// Whether Present keeps a copy of what it shows (off unless a test asks).
void KeepPresentedPictures(bool keep);
// The picture last presented to the window, at the window's size, rows top to bottom.
bool ReadPresentedPicture(IDirect3DDevice9* device, std::vector<DWORD>& pixels, UINT& width,
                          UINT& height);

// The device's context taken away (lost) and given back without its objects (!lost), as a
// browser does with a page's WebGL context.
bool SimulateContextLoss(IDirect3DDevice9* device, bool lost);

}  // namespace kv_testing
