// Point, box and tent resampling. None reads outside the source: the box and point filters
// pick texels inside the area a target texel covers, and the tent's taps past an edge read the
// edge texel.
#include "platform/image/resample.h"

#include <algorithm>
#include <cmath>
#include <cstddef>

namespace {

KvImage Blank(unsigned width, unsigned height) {
  return KvImage{width, height, std::vector<std::uint32_t>(std::size_t(width) * height)};
}

std::uint32_t At(const KvImage& image, unsigned x, unsigned y) {
  return image.texels[std::size_t(y) * image.width + x];
}

// Each target texel is the source texel under its centre.
KvImage Point(const KvImage& source, unsigned width, unsigned height) {
  KvImage target = Blank(width, height);
  for (unsigned y = 0; y < height; ++y) {
    const unsigned sy = unsigned((2ull * y + 1) * source.height / (2ull * height));
    for (unsigned x = 0; x < width; ++x) {
      const unsigned sx = unsigned((2ull * x + 1) * source.width / (2ull * width));
      target.texels[std::size_t(y) * width + x] = At(source, sx, sy);
    }
  }
  return target;
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

// Each target texel averages up to 2 × 2 source texels spread over the area it covers: when
// halving, exactly the 2 × 2 block beneath it.
KvImage Box(const KvImage& source, unsigned width, unsigned height) {
  KvImage target = Blank(width, height);
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
          samples[count++] = At(source, sx, sy);
        }
      }
      target.texels[std::size_t(y) * width + x] = Average(samples, count);
    }
  }
  return target;
}

struct Tap {
  unsigned index;
  float weight;
};
using Taps = std::vector<Tap>;

// The taps of a tent filter along one axis. Target texel i's centre lies at c = (i + ½) · s − ½
// in source texels (s = source / target); source texel k weighs 1 − |k − c| / r, for the
// half-width r, and the weights are scaled to sum to 1. Halving (s = 2, r = 2) reads the four
// texels around the two beneath it: 1/8, 3/8, 3/8, 1/8.
std::vector<Taps> TentTaps(unsigned source, unsigned target, float halfWidth) {
  const float scale = float(source) / float(target);
  std::vector<Taps> taps(target);
  for (unsigned i = 0; i < target; ++i) {
    const float centre = (float(i) + 0.5f) * scale - 0.5f;
    float total = 0;
    for (long k = long(std::ceil(centre - halfWidth)); k <= long(centre + halfWidth); ++k) {
      const float weight = 1.0f - std::fabs(float(k) - centre) / halfWidth;
      if (weight <= 0) continue;
      taps[i].push_back({unsigned(std::clamp(k, 0L, long(source) - 1)), weight});
      total += weight;
    }
    for (Tap& tap : taps[i]) tap.weight /= total;
  }
  return taps;
}

std::uint32_t Weighted(const KvImage& source, const Taps& columns, const Taps& rows) {
  float sum[4] = {};
  for (const Tap& row : rows) {
    for (const Tap& column : columns) {
      const std::uint32_t texel = At(source, column.index, row.index);
      const float weight = row.weight * column.weight;
      for (int c = 0; c < 4; ++c) sum[c] += weight * float(texel >> 8 * c & 0xFF);
    }
  }
  std::uint32_t result = 0;
  for (int c = 0; c < 4; ++c) {
    result |= std::uint32_t(std::lround(std::clamp(sum[c], 0.0f, 255.0f))) << 8 * c;
  }
  return result;
}

// The tent in both axes. Reducing, its half-width is the scale (r = s): a target texel reads the
// source texels it covers and as many again around them, and every source texel contributes
// equally in all (1/2 per axis when halving). Enlarging, r = 1 interpolates between the nearest
// two, as the linear filter does at every scale.
KvImage Tent(const KvImage& source, unsigned width, unsigned height, bool linear) {
  const auto halfWidth = [linear](unsigned from, unsigned to) {
    return linear ? 1.0f : std::max(1.0f, float(from) / float(to));
  };
  const std::vector<Taps> columns = TentTaps(source.width, width, halfWidth(source.width, width));
  const std::vector<Taps> rows = TentTaps(source.height, height, halfWidth(source.height, height));
  KvImage target = Blank(width, height);
  for (unsigned y = 0; y < height; ++y) {
    for (unsigned x = 0; x < width; ++x) {
      target.texels[std::size_t(y) * width + x] = Weighted(source, columns[x], rows[y]);
    }
  }
  return target;
}

}  // namespace

KvImage KvResample(const KvImage& source, unsigned width, unsigned height, KvImageFilter filter) {
  if (source.width == width && source.height == height) return source;
  switch (filter) {
    case KvImageFilter::kPoint:
      return Point(source, width, height);
    case KvImageFilter::kBox:
      return Box(source, width, height);
    case KvImageFilter::kLinear:
      return Tent(source, width, height, true);
    case KvImageFilter::kTriangle:
      break;
  }
  return Tent(source, width, height, false);
}
