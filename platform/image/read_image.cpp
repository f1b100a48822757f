// Decoding through SDL2_image: libpng for PNG, libjpeg-turbo for JPEG, and its own readers for
// BMP and TGA, each chosen by the file's signature so that no other format is tried. Every
// surface is converted to one 32-bit ARGB layout, which is the texels' own.
#include "platform/image/read_image.h"

#include <SDL.h>
#include <SDL_image.h>

#include <cstring>

#include "platform/image/image_header.h"
#include "platform/image/memory_source.h"

namespace {

// PNG and JPEG come from libraries SDL2_image starts once.
bool FormatAvailable(KvImageFormat format) {
  static const int started = IMG_Init(IMG_INIT_PNG | IMG_INIT_JPG);
  if (format == KvImageFormat::kPng) return started & IMG_INIT_PNG;
  if (format == KvImageFormat::kJpeg) return started & IMG_INIT_JPG;
  return true;
}

SDL_Surface* Load(KvImageFormat format, SDL_RWops* source) {
  switch (format) {
    case KvImageFormat::kPng:
      return IMG_LoadPNG_RW(source);
    case KvImageFormat::kJpeg:
      return IMG_LoadJPG_RW(source);
    case KvImageFormat::kBmp:
      return IMG_LoadBMP_RW(source);
    case KvImageFormat::kTga:
      return IMG_LoadTGA_RW(source);
  }
  return nullptr;
}

// SDL's ARGB8888 is a 32-bit value per texel, alpha in the top byte: a D3DCOLOR. A format
// without alpha converts to opaque texels.
bool CopyTexels(SDL_Surface* decoded, const KvImageLimits& limits, KvImage& image) {
  if (!KvImageWithinLimits(std::uint64_t(decoded->w), std::uint64_t(decoded->h), limits))
    return false;
  SDL_Surface* argb = SDL_ConvertSurfaceFormat(decoded, SDL_PIXELFORMAT_ARGB8888, 0);
  if (!argb) return false;
  image.width = unsigned(argb->w);
  image.height = unsigned(argb->h);
  image.texels.resize(std::size_t(image.width) * image.height);
  const std::size_t rowBytes = std::size_t(image.width) * sizeof(std::uint32_t);
  const bool locked = SDL_LockSurface(argb) == 0;
  for (unsigned y = 0; locked && y < image.height; ++y) {
    const auto* row = static_cast<const std::uint8_t*>(argb->pixels) + std::size_t(y) * argb->pitch;
    std::memcpy(image.texels.data() + std::size_t(y) * image.width, row, rowBytes);
  }
  if (locked) SDL_UnlockSurface(argb);
  SDL_FreeSurface(argb);
  return locked;
}

}  // namespace

bool KvReadImage(const std::uint8_t* data, std::size_t size, const KvImageLimits& limits,
                 KvImage& image) {
  KvImageHeader header;
  if (!data || size == 0 || !KvReadImageHeader(data, size, header) ||
      !KvImageWithinLimits(header.width, header.height, limits) ||
      !FormatAvailable(header.format)) {
    return false;
  }
  SDL_RWops* source = KvOpenMemorySource(data, size);
  if (!source) return false;
  SDL_Surface* decoded = Load(header.format, source);
  SDL_RWclose(source);
  if (!decoded) return false;
  const bool copied = CopyTexels(decoded, limits, image);
  SDL_FreeSurface(decoded);
  return copied;
}
