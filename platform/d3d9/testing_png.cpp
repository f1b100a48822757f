// The testing seam's picture files: the back buffer saved as a PNG through SDL2_image, apart
// from the rest of the seam so that a build without SDL2_image (the browser's) keeps the rest.
#include <SDL_image.h>

#include "platform/d3d9/testing_device.h"

namespace kv_testing {

// Written as an RGB PNG: the back buffer has no alpha.
bool SaveBackBufferPng(IDirect3DDevice9* device, const char* path) {
  std::vector<DWORD> pixels;
  UINT width = 0;
  UINT height = 0;
  if (!path || !ReadBackBuffer(device, pixels, width, height)) return false;
  SDL_Surface* surface = SDL_CreateRGBSurfaceWithFormatFrom(
      pixels.data(), int(width), int(height), 32, int(width * 4), SDL_PIXELFORMAT_RGB888);
  if (!surface) return false;
  const bool saved = IMG_SavePNG(surface, path) == 0;
  SDL_FreeSurface(surface);
  return saved;
}

}  // namespace kv_testing
