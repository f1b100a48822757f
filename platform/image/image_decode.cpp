// The colour key, rounding to powers of two and nearest-area resampling for every level of a
// decoded image.
#include "platform/image/image_decode.h"

#include <algorithm>
#include <utility>

#include "platform/image/read_image.h"

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

std::uint32_t Average(const std::uint32_t* samples, int count) {
  std::uint32_t result = 0;
  for (int shift = 0; shift < 32; shift += 8) {
    std::uint32_t sum = 0;
    for (int i = 0; i < count; ++i) sum += (samples[i] >> shift) & 0xFF;
    result |= ((sum + std::uint32_t(count) / 2) / std::uint32_t(count)) << shift;
  }
  return result;
}

// Nearest-area resampling: each target texel averages the source texels it covers.
KvImage Resize(const KvImage& source, unsigned width, unsigned height) {
  if (source.width == width && source.height == height) return source;
  KvImage target{width, height, std::vector<std::uint32_t>(std::size_t(width) * height)};
  for (unsigned y = 0; y < height; ++y) {
    const unsigned y0 = y * source.height / height;
    const unsigned y1 = std::max(y0 + 1, (y + 1) * source.height / height);
    for (unsigned x = 0; x < width; ++x) {
      const unsigned x0 = x * source.width / width;
      const unsigned x1 = std::max(x0 + 1, (x + 1) * source.width / width);
      std::uint32_t samples[4];
      int count = 0;
      for (unsigned sy = y0; sy < y1 && count < 4; sy += std::max(1u, (y1 - y0) / 2)) {
        for (unsigned sx = x0; sx < x1 && count < 4; sx += std::max(1u, (x1 - x0) / 2)) {
          samples[count++] = source.texels[std::size_t(sy) * source.width + sx];
        }
      }
      target.texels[std::size_t(y) * width + x] = Average(samples, count);
    }
  }
  return target;
}

}  // namespace

KvImageStatus KvDecodeTextureImage(const std::uint8_t* data, std::size_t size, unsigned width,
                                   unsigned height, unsigned mipLevels, std::uint32_t colorKey,
                                   KvTextureImage& out, const KvImageLimits& limits) {
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
  out.levels.push_back(sameSize ? std::move(image) : Resize(image, w, h));
  for (unsigned i = 1; i < count; ++i) {
    const KvImage& above = out.levels.back();
    out.levels.push_back(
        Resize(above, std::max(1u, above.width / 2), std::max(1u, above.height / 2)));
  }
  return KvImageStatus::kOk;
}
