// The colour key, rounding to powers of two and the resampled levels of a decoded image.
#include "platform/image/image_decode.h"

#include <algorithm>
#include <utility>

#include "platform/image/read_image.h"
#include "platform/image/resample.h"

namespace {

bool WithinLimits(unsigned width, unsigned height, const KvImageLimits& limits) {
  return width > 0 && height > 0 && width <= limits.largestSide && height <= limits.largestSide &&
         std::size_t{width} * height <= limits.largestTexels;
}

void ApplyColorKey(KvImage& image, std::uint32_t key) {
  if (key == 0) return;  // a key of 0 means no key
  for (std::uint32_t& texel : image.texels) {
    if (texel == key) texel = 0;
  }
}

unsigned RoundUpToPowerOfTwo(unsigned value) {
  unsigned result = 1;
  while (result < value) result <<= 1;
  return result;
}

unsigned TextureSide(unsigned requested, unsigned imageSide) {
  return (requested == 0 || requested == kKvImageDefault) ? RoundUpToPowerOfTwo(imageSide)
                                                          : requested;
}

unsigned LevelCount(unsigned width, unsigned height, unsigned requested) {
  unsigned full = 1;
  for (unsigned w = width, h = height; w > 1 || h > 1; ++full) {
    w = std::max(1u, w / 2);
    h = std::max(1u, h / 2);
  }
  return (requested == 0 || requested == kKvImageDefault) ? full : std::min(requested, full);
}

}  // namespace

KvImageStatus KvDecodeTextureImage(const std::uint8_t* data, std::size_t size, unsigned width,
                                   unsigned height, unsigned mipLevels, std::uint32_t colorKey,
                                   KvTextureImage& out, const KvImageLimits& limits,
                                   const KvImageFilters& filters) {
  out = KvTextureImage{};
  KvImage image;
  if (!KvReadImage(data, size, limits, image)) return KvImageStatus::kBadFile;
  out.sourceWidth = image.width;
  out.sourceHeight = image.height;
  const unsigned w = TextureSide(width, image.width);
  const unsigned h = TextureSide(height, image.height);
  if (!WithinLimits(w, h, limits)) return KvImageStatus::kBadTextureSize;
  ApplyColorKey(image, colorKey);
  const unsigned count = LevelCount(w, h, mipLevels);
  out.levels.reserve(count);
  const bool sameSize = image.width == w && image.height == h;
  out.levels.push_back(sameSize ? std::move(image) : KvResample(image, w, h, filters.image));
  for (unsigned i = 1; i < count; ++i) {
    const KvImage& above = out.levels.back();
    out.levels.push_back(KvResample(above, std::max(1u, above.width / 2),
                                    std::max(1u, above.height / 2), filters.mip));
  }
  return KvImageStatus::kOk;
}
