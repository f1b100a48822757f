#include "noise.h"

#include <cmath>

namespace datagen {
namespace {

int Wrap(int v, int period) {
  if (period <= 0) return v;
  int m = v % period;
  return m < 0 ? m + period : m;
}

double Fade(double t) {
  return t * t * t * (t * (t * 6.0 - 15.0) + 10.0);
}

}  // namespace

std::uint32_t Rng::Next() {
  state_ ^= state_ << 13;
  state_ ^= state_ >> 17;
  state_ ^= state_ << 5;
  return state_;
}

double LatticeValue(int x, int y, std::uint32_t seed) {
  std::uint32_t h = seed * 0x9E3779B1u;
  h ^= static_cast<std::uint32_t>(x) * 0x85EBCA77u;
  h = (h << 13) | (h >> 19);
  h ^= static_cast<std::uint32_t>(y) * 0xC2B2AE3Du;
  h ^= h >> 16;
  h *= 0x7FEB352Du;
  h ^= h >> 15;
  h *= 0x846CA68Bu;
  h ^= h >> 16;
  return (h >> 8) * (1.0 / 16777216.0);
}

double ValueNoise(double x, double y, std::uint32_t seed, int period) {
  return ValueNoiseXY(x, y, seed, period, period);
}

double ValueNoiseXY(double x, double y, std::uint32_t seed, int periodX, int periodY) {
  double fx = std::floor(x);
  double fy = std::floor(y);
  int ix = static_cast<int>(fx);
  int iy = static_cast<int>(fy);
  double tx = Fade(x - fx);
  double ty = Fade(y - fy);
  int x0 = Wrap(ix, periodX), x1 = Wrap(ix + 1, periodX);
  int y0 = Wrap(iy, periodY), y1 = Wrap(iy + 1, periodY);
  double a = LatticeValue(x0, y0, seed);
  double b = LatticeValue(x1, y0, seed);
  double c = LatticeValue(x0, y1, seed);
  double d = LatticeValue(x1, y1, seed);
  double top = a + (b - a) * tx;
  double bottom = c + (d - c) * tx;
  return (top + (bottom - top) * ty) * 2.0 - 1.0;
}

double Fbm(double x, double y, std::uint32_t seed, int octaves, int period) {
  double sum = 0, amplitude = 1, total = 0;
  for (int i = 0; i < octaves; ++i) {
    sum += amplitude * ValueNoise(x, y, seed + 101u * i, period);
    total += amplitude;
    x *= 2.0;
    y *= 2.0;
    amplitude *= 0.5;
    if (period > 0) period *= 2;
  }
  return sum / total;
}

double Ridged(double x, double y, std::uint32_t seed, int octaves, int period) {
  double sum = 0, amplitude = 1, total = 0;
  for (int i = 0; i < octaves; ++i) {
    double n = 1.0 - std::fabs(ValueNoise(x, y, seed + 211u * i, period));
    sum += amplitude * n * n;
    total += amplitude;
    x *= 2.0;
    y *= 2.0;
    amplitude *= 0.5;
    if (period > 0) period *= 2;
  }
  return sum / total;
}

CellSample Cellular(double x, double y, std::uint32_t seed, int period) {
  double fx = std::floor(x), fy = std::floor(y);
  int ix = static_cast<int>(fx), iy = static_cast<int>(fy);
  CellSample best{9.0, 9.0, 0.0};
  for (int dy = -1; dy <= 1; ++dy) {
    for (int dx = -1; dx <= 1; ++dx) {
      int cx = Wrap(ix + dx, period), cy = Wrap(iy + dy, period);
      double px = ix + dx + LatticeValue(cx, cy, seed);
      double py = iy + dy + LatticeValue(cx, cy, seed + 1);
      double d = std::sqrt((px - x) * (px - x) + (py - y) * (py - y));
      if (d < best.f1) {
        best.f2 = best.f1;
        best.f1 = d;
        best.cell = LatticeValue(cx, cy, seed + 2);
      } else if (d < best.f2) {
        best.f2 = d;
      }
    }
  }
  return best;
}

}  // namespace datagen
