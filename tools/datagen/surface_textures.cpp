// Procedural surface images built from periodic value noise, so they repeat without seams.
#include <cmath>
#include <functional>

#include "noise.h"
#include "textures.h"

namespace datagen {
namespace {

// Fills the image from a function of the texel centre in [0, 1) x [0, 1).
Image Paint(int width, int height, const std::function<Rgb(double, double)>& colorAt) {
  Image image(width, height);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      image.Set(x, y, colorAt((x + 0.5) / width, (y + 0.5) / height));
    }
  }
  return image;
}

double Unsigned(double n) {
  return 0.5 + 0.5 * n;
}

}  // namespace

Image MakeGrassTexture() {
  return Paint(256, 256, [](double u, double v) {
    double patches = Unsigned(Fbm(u * 4, v * 4, 1, 4, 4));
    double dry = Smooth((Unsigned(Fbm(u * 3, v * 3, 2, 3, 3)) - 0.55) / 0.25);
    double fine = Unsigned(Fbm(u * 32, v * 32, 3, 3, 32));
    double blades = Unsigned(ValueNoiseXY(u * 128, v * 24, 4, 128, 24));
    double speck = LatticeValue(static_cast<int>(u * 256), static_cast<int>(v * 256), 5);
    Rgb c = Mix({0.20, 0.36, 0.12}, {0.42, 0.58, 0.22}, patches);
    c = Mix(c, {0.55, 0.54, 0.27}, dry * 0.55);
    double shade = (0.82 + 0.3 * fine) * (0.8 + 0.35 * blades);
    if (speck > 0.97) shade *= 1.25;
    if (speck < 0.03) shade *= 0.7;
    return c * shade;
  });
}

Image MakeRockTexture() {
  return Paint(256, 256, [](double u, double v) {
    // Broken rock: blocks of slightly different tone split by cracks that come and go,
    // with finer fractures inside them.
    double wu = u + 0.05 * Fbm(u * 4, v * 4, 16, 3, 4);
    double wv = v + 0.05 * Fbm(u * 4, v * 4, 17, 3, 4);
    CellSample blocks = Cellular(wu * 5, wv * 5, 13, 5);
    CellSample chips = Cellular(wu * 13, wv * 13, 18, 13);
    double visible = Smooth((Fbm(u * 6, v * 6, 19, 2, 6) + 0.3) / 0.6);
    double crack = (1.0 - Smooth((blocks.f2 - blocks.f1) / 0.07)) * visible;
    double fracture = (1.0 - Smooth((chips.f2 - chips.f1) / 0.08)) * (1.0 - visible);
    double body = Fbm(u * 8, v * 8, 11, 5, 8);
    double grain = ValueNoise(u * 96, v * 96, 12, 96);
    double warmth = Unsigned(Fbm(u * 2, v * 2, 14, 3, 2));
    double lichen = Smooth((Unsigned(Fbm(u * 5, v * 5, 15, 4, 5)) - 0.66) / 0.12);
    Rgb c = Mix({0.52, 0.50, 0.47}, {0.56, 0.47, 0.37}, warmth);
    c = Mix(c, {0.44, 0.49, 0.36}, lichen * 0.45);
    double shade = (0.84 + 0.3 * body + 0.07 * grain) * (0.9 + 0.2 * blocks.cell);
    shade *= (1.0 - 0.45 * crack) * (1.0 - 0.2 * fracture);
    return c * shade;
  });
}

Image MakeStoneTexture() {
  return Paint(128, 128, [](double u, double v) {
    double body = Fbm(u * 4, v * 4, 21, 5, 4);
    double pits = Ridged(u * 10, v * 10, 22, 2, 10);
    double tone = Unsigned(Fbm(u * 2, v * 2, 23, 2, 2));
    Rgb c = Mix({0.74, 0.69, 0.60}, {0.66, 0.64, 0.60}, tone);
    double shade = (0.88 + 0.2 * body) * (1.0 - 0.3 * Smooth((pits - 0.8) / 0.15));
    return c * shade;
  });
}

Image MakeMarbleTexture() {
  return Paint(128, 128, [](double u, double v) {
    double turbulence = Fbm(u * 4, v * 4, 31, 4, 4);
    double t = Sin(2.0 * kPi * (u + 2.0 * v) + 5.0 * turbulence);
    double vein = Bump(t * t / 0.03);
    double cloud = Unsigned(Fbm(u * 3, v * 3, 32, 3, 3));
    Rgb c = Mix({0.90, 0.89, 0.86}, {0.96, 0.95, 0.93}, cloud);
    return Mix(c, {0.55, 0.58, 0.60}, vein * 0.7);
  });
}

Image MakePoolTexture() {
  return Paint(128, 128, [](double u, double v) {
    // Light rippling over water: a net of bright lines from two layers of cells.
    double depth = Unsigned(Fbm(u * 2, v * 2, 41, 3, 2));
    CellSample wide = Cellular(u * 5 + 0.1 * Fbm(u * 3, v * 3, 43, 2, 3), v * 5, 42, 5);
    CellSample fine = Cellular(u * 9, v * 9, 44, 9);
    double net = 1.0 - Smooth((wide.f2 - wide.f1) / 0.12);
    double sparkle = 1.0 - Smooth((fine.f2 - fine.f1) / 0.08);
    Rgb c = Mix({0.10, 0.30, 0.42}, {0.16, 0.42, 0.52}, depth);
    return c + Rgb{0.30, 0.42, 0.42} * (0.8 * net + 0.35 * sparkle);
  });
}

Image MakeEmberTexture() {
  return Paint(128, 128, [](double u, double v) {
    double glow = Ridged(u * 5, v * 5, 51, 3, 5);
    double coal = Unsigned(Fbm(u * 8, v * 8, 52, 3, 8));
    Rgb c = Mix({0.10, 0.03, 0.02}, {0.30, 0.07, 0.03}, coal);
    c = Mix(c, {1.0, 0.45, 0.08}, Smooth((glow - 0.5) / 0.3));
    return Mix(c, {1.0, 0.85, 0.45}, Smooth((glow - 0.82) / 0.15));
  });
}

Image MakeSkyTexture() {
  // v runs from the zenith (top row) to the horizon (bottom row).
  return Paint(256, 128, [](double u, double v) {
    Rgb c = Mix({0.24, 0.45, 0.82}, {0.72, 0.83, 0.93}, v * std::sqrt(v));
    double n = Fbm(u * 8, v * 5, 61, 5, 8);
    double amount =
        Smooth((n + 0.05) / 0.45) * Smooth((v - 0.05) / 0.2) * (1.0 - Smooth((v - 0.78) / 0.2));
    Rgb cloud = Mix({0.97, 0.97, 0.98}, {0.82, 0.84, 0.88}, Smooth(-n / 0.4 + 0.5));
    return Mix(c, cloud, amount * 0.85);
  });
}

}  // namespace datagen
