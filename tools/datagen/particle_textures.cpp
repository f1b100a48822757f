// The particle images. Each is painted as an intensity field; texels farther than a few
// texels from any lit texel become the colour key, the rest take the colour of their
// intensity, which is black at the edge of the lit area.
#include <cmath>
#include <functional>

#include "noise.h"
#include "textures.h"

namespace datagen {
namespace {

constexpr int kSize = 128;
constexpr int kDarkRing = 3;  // texels of black between the picture and the key

struct Key {
  std::uint8_t r, g, b;
};

// Paints intensity through `ramp`; texels with no lit texel within kDarkRing become `key`.
Image PaintKeyed(const std::function<double(double, double)>& intensityAt,
                 const std::function<Rgb(double)>& ramp, Key key) {
  std::vector<double> intensity(kSize * kSize);
  for (int y = 0; y < kSize; ++y) {
    for (int x = 0; x < kSize; ++x) {
      intensity[y * kSize + x] = Clamp(intensityAt((x + 0.5) / kSize, (y + 0.5) / kSize), 0, 1);
    }
  }
  auto litNear = [&](int x, int y) {
    for (int dy = -kDarkRing; dy <= kDarkRing; ++dy) {
      for (int dx = -kDarkRing; dx <= kDarkRing; ++dx) {
        int sx = x + dx, sy = y + dy;
        if (sx < 0 || sy < 0 || sx >= kSize || sy >= kSize) continue;
        if (dx * dx + dy * dy <= kDarkRing * kDarkRing && intensity[sy * kSize + sx] > 0.004) {
          return true;
        }
      }
    }
    return false;
  };
  Image image(kSize, kSize);
  for (int y = 0; y < kSize; ++y) {
    for (int x = 0; x < kSize; ++x) {
      if (!litNear(x, y)) {
        image.SetBytes(x, y, key.r, key.g, key.b);
        continue;
      }
      image.Set(x, y, ramp(intensity[y * kSize + x]));
      const std::uint8_t* p = image.At(x, y);
      // The picture must never hit the key exactly; shift such a texel by one step.
      if (p[0] == key.r && p[1] == key.g && p[2] == key.b) {
        image.SetBytes(x, y, p[0], static_cast<std::uint8_t>(key.g ? key.g - 1 : 1), p[2]);
      }
    }
  }
  return image;
}

// Piecewise linear colour ramp from black through deep red and orange to pale yellow.
Rgb FireRamp(double t) {
  static constexpr double kStops[][4] = {{0.00, 0.00, 0.00, 0.00}, {0.15, 0.25, 0.03, 0.00},
                                         {0.35, 0.75, 0.15, 0.02}, {0.55, 1.00, 0.45, 0.05},
                                         {0.75, 1.00, 0.75, 0.20}, {1.00, 1.00, 0.95, 0.70}};
  for (int i = 1; i < 6; ++i) {
    if (t <= kStops[i][0]) {
      double f = (t - kStops[i - 1][0]) / (kStops[i][0] - kStops[i - 1][0]);
      return {Lerp(kStops[i - 1][1], kStops[i][1], f), Lerp(kStops[i - 1][2], kStops[i][2], f),
              Lerp(kStops[i - 1][3], kStops[i][3], f)};
    }
  }
  return {1.0, 0.95, 0.70};
}

// A teardrop: a round base at the bottom narrowing to a tip near the top.
double FlameIntensity(double x, double y) {
  const double tip = 0.08, bulb = 0.64, radius = 0.25;
  double width = 0;
  if (y > tip && y <= bulb) {
    width = radius * std::sqrt((y - tip) / (bulb - tip));
  } else if (y > bulb && y < bulb + radius) {
    width = std::sqrt(radius * radius - (y - bulb) * (y - bulb));
  }
  if (width <= 0) return 0;
  double sway = 0.035 * ValueNoise(y * 5.0, 0.5, 71) * (1.0 - Smooth((y - tip) / (bulb - tip)));
  double across = std::fabs(x - 0.5 - sway) / width;
  double flicker = 0.85 + 0.3 * Fbm(x * 6.0, y * 4.0, 72, 3);
  return (1.0 - across) * flicker * Smooth((y - tip) / 0.3) * 1.15;
}

double Radius(double x, double y) {
  return std::sqrt((x - 0.5) * (x - 0.5) + (y - 0.5) * (y - 0.5));
}

struct Droplet {
  double x, y, size, brightness;
};

std::vector<Droplet> SprayDroplets() {
  Rng rng(0x5B4A7);
  std::vector<Droplet> drops;
  for (int i = 0; i < 36; ++i) {
    double angle = rng.Range(0, 2.0 * kPi);
    double r = 0.33 * std::sqrt(rng.Unit());
    drops.push_back(
        {0.5 + r * Cos(angle), 0.5 + r * Sin(angle), rng.Range(0.015, 0.045), rng.Range(0.6, 1.0)});
  }
  return drops;
}

double SprayIntensity(const std::vector<Droplet>& drops, double x, double y) {
  double r = Radius(x, y);
  double value = 0.55 * Bump(r * r / (0.3 * 0.3));
  for (const Droplet& d : drops) {
    double dx = x - d.x, dy = y - d.y;
    value = std::max(value, d.brightness * Bump((dx * dx + dy * dy) / (d.size * d.size)));
  }
  return value * (1.0 - Smooth((r - 0.32) / 0.1));
}

// A soft oval of vertical streaks. The streaks fade towards every edge of the oval, so that
// sheets rolled at any angle and overlapping in the fall blend into one stream of water
// instead of showing the squares they are drawn on.
double SheetIntensity(double x, double y) {
  const double across = (x - 0.5) / 0.44, along = (y - 0.5) / 0.47;
  const double fade = Bump(across * across + along * along);
  // Sparse bright streaks over a faint sheet: dozens of sheets overlap in the fall and are
  // added to the picture, so each one must stay faint.
  double streak = Smooth(ValueNoiseXY(x * 24, y * 3, 81, 0, 0) + 0.5);
  double streaks =
      0.15 + 0.75 * streak * streak * streak + 0.1 * (1.0 + ValueNoiseXY(x * 64, y * 6, 82, 0, 0));
  return 1.5 * streaks * fade;
}

}  // namespace

Image MakeFlameTexture() {
  return PaintKeyed(FlameIntensity, FireRamp, {255, 0, 0});
}

Image MakeFountainTexture() {
  std::vector<Droplet> drops = SprayDroplets();
  return PaintKeyed([&](double x, double y) { return SprayIntensity(drops, x, y); },
                    [](double t) {
                      return Rgb{0.75 * t, 0.88 * t, t};
                    },
                    {0, 0, 255});
}

Image MakeWaterTexture() {
  return PaintKeyed(SheetIntensity,
                    [](double t) {
                      return Rgb{0.45 * t, 0.6 * t, 0.75 * t};
                    },
                    {0, 0, 255});
}

}  // namespace datagen
