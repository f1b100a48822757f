// Decoding PNG, JPEG, BMP and TGA through stb_image, the colour key, rounding to powers of two
// and nearest-area resampling for every level.
#include "platform/image/image_decode.h"

#include <stb_image.h>

#include <algorithm>
#include <climits>
#include <cstring>
#include <utility>

#include "platform/image/jpeg_check.h"
#include "platform/image/png_check.h"

namespace {

bool WithinLimits(UINT width, UINT height, const KvImageLimits& limits) {
  return width > 0 && height > 0 && width <= limits.largestSide && height <= limits.largestSide &&
         std::size_t{width} * height <= limits.largestTexels;
}

// The size is checked from the header before decoding, so that a claimed size beyond the
// limits is refused before stb_image allocates for it.
bool Decode(const std::uint8_t* data, std::size_t size, const KvImageLimits& limits,
            KvImage& image) {
  if (size == 0 || size > INT_MAX || !KvJpegTablesSound(data, size) ||
      !KvPngChunksSound(data, size)) {
    return false;
  }
  int width = 0;
  int height = 0;
  int channels = 0;
  if (!stbi_info_from_memory(data, int(size), &width, &height, &channels) ||
      !WithinLimits(UINT(std::max(width, 0)), UINT(std::max(height, 0)), limits)) {
    return false;
  }
  stbi_uc* rgba = stbi_load_from_memory(data, int(size), &width, &height, &channels, 4);
  if (!rgba) return false;
  if (!WithinLimits(UINT(std::max(width, 0)), UINT(std::max(height, 0)), limits)) {
    stbi_image_free(rgba);
    return false;
  }
  image.width = UINT(width);
  image.height = UINT(height);
  image.texels.resize(std::size_t(width) * std::size_t(height));
  for (std::size_t i = 0; i < image.texels.size(); ++i) {
    const stbi_uc* p = rgba + i * 4;
    image.texels[i] = D3DCOLOR_ARGB(p[3], p[0], p[1], p[2]);  // no alpha reads as opaque
  }
  stbi_image_free(rgba);
  return true;
}

void ApplyColorKey(KvImage& image, D3DCOLOR key) {
  if (key == 0) return;  // a key of 0 means no key
  for (DWORD& texel : image.texels) {
    if (texel == key) texel = 0;
  }
}

UINT RoundUpToPowerOfTwo(UINT value) {
  UINT result = 1;
  while (result < value) result <<= 1;
  return result;
}

UINT TextureSide(UINT requested, UINT imageSide) {
  return (requested == 0 || requested == D3DX_DEFAULT) ? RoundUpToPowerOfTwo(imageSide) : requested;
}

UINT LevelCount(UINT width, UINT height, UINT requested) {
  UINT full = 1;
  for (UINT w = width, h = height; w > 1 || h > 1; ++full) {
    w = std::max(1u, w / 2);
    h = std::max(1u, h / 2);
  }
  return (requested == 0 || requested == D3DX_DEFAULT) ? full : std::min(requested, full);
}

DWORD Average(const DWORD* samples, int count) {
  DWORD result = 0;
  for (int shift = 0; shift < 32; shift += 8) {
    DWORD sum = 0;
    for (int i = 0; i < count; ++i) sum += (samples[i] >> shift) & 0xFF;
    result |= ((sum + DWORD(count) / 2) / DWORD(count)) << shift;
  }
  return result;
}

// Nearest-area resampling: each target texel averages the source texels it covers.
KvImage Resize(const KvImage& source, UINT width, UINT height) {
  if (source.width == width && source.height == height) return source;
  KvImage target{width, height, std::vector<DWORD>(std::size_t(width) * height)};
  for (UINT y = 0; y < height; ++y) {
    const UINT y0 = y * source.height / height;
    const UINT y1 = std::max(y0 + 1, (y + 1) * source.height / height);
    for (UINT x = 0; x < width; ++x) {
      const UINT x0 = x * source.width / width;
      const UINT x1 = std::max(x0 + 1, (x + 1) * source.width / width);
      DWORD samples[4];
      int count = 0;
      for (UINT sy = y0; sy < y1 && count < 4; sy += std::max(1u, (y1 - y0) / 2)) {
        for (UINT sx = x0; sx < x1 && count < 4; sx += std::max(1u, (x1 - x0) / 2)) {
          samples[count++] = source.texels[std::size_t(sy) * source.width + sx];
        }
      }
      target.texels[std::size_t(y) * width + x] = Average(samples, count);
    }
  }
  return target;
}

}  // namespace

KvImageStatus KvDecodeTextureImage(const std::uint8_t* data, std::size_t size, UINT width,
                                   UINT height, UINT mipLevels, D3DCOLOR colorKey,
                                   KvTextureImage& out, const KvImageLimits& limits) {
  out = KvTextureImage{};
  KvImage image;
  if (!data || !Decode(data, size, limits, image)) return KvImageStatus::kBadFile;
  out.sourceWidth = image.width;
  out.sourceHeight = image.height;
  const UINT w = TextureSide(width, image.width);
  const UINT h = TextureSide(height, image.height);
  if (!WithinLimits(w, h, limits)) return KvImageStatus::kBadTextureSize;
  ApplyColorKey(image, colorKey);
  const UINT count = LevelCount(w, h, mipLevels);
  out.levels.reserve(count);
  const bool sameSize = image.width == w && image.height == h;
  out.levels.push_back(sameSize ? std::move(image) : Resize(image, w, h));
  for (UINT i = 1; i < count; ++i) {
    const KvImage& above = out.levels.back();
    out.levels.push_back(
        Resize(above, std::max(1u, above.width / 2), std::max(1u, above.height / 2)));
  }
  return KvImageStatus::kOk;
}
