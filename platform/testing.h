// The testing seam: lets tests and the offscreen capture tool replace the clock, press keys
// and read the picture. Nothing in the application uses it.
#pragma once

#include <vector>

#include "platform/d3d9.h"

namespace kv_testing {

// Replaces timeGetTime's clock; null restores the real one.
void SetClock(DWORD (*clock)());

// As if the key had been pressed or released on the keyboard.
void PressKey(int virtualKey);
void ReleaseKey(int virtualKey);
void ReleaseAllKeys();

// The device's back buffer as ARGB texels, rows top to bottom.
bool ReadBackBuffer(IDirect3DDevice9* device, std::vector<DWORD>& pixels, UINT& width,
                    UINT& height);
bool SaveBackBufferPng(IDirect3DDevice9* device, const char* path);

// Whether the device gathers draws that differ only in the world transform into one OpenGL
// draw (on unless a test or benchmark compares against drawing them one at a time).
bool SetDrawBatching(IDirect3DDevice9* device, bool on);

// Whether Present keeps a copy of what it shows (off unless a test asks).
void KeepPresentedPictures(bool keep);
// The picture last presented to the window, at the window's size, rows top to bottom.
bool ReadPresentedPicture(IDirect3DDevice9* device, std::vector<DWORD>& pixels, UINT& width,
                          UINT& height);

}  // namespace kv_testing
