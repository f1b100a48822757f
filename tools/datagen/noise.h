// Deterministic pseudo-random numbers and value noise for the generated meshes and images.
#pragma once

#include <cstdint>

namespace datagen {

// A small xorshift generator with a fixed seed; the same seed gives the same sequence.
class Rng {
 public:
  explicit Rng(std::uint32_t seed) : state_(seed ? seed : 0x9E3779B9u) {}
  std::uint32_t Next();
  // Uniform in [0, 1).
  double Unit() { return (Next() >> 8) * (1.0 / 16777216.0); }
  // Uniform in [lo, hi).
  double Range(double lo, double hi) { return lo + (hi - lo) * Unit(); }

 private:
  std::uint32_t state_;
};

// Hash of a lattice point to [0, 1).
double LatticeValue(int x, int y, std::uint32_t seed);

// Smooth value noise in [-1, 1]. The lattice repeats every `period` cells in x and y when
// period > 0, which makes images built from it tile seamlessly.
double ValueNoise(double x, double y, std::uint32_t seed, int period = 0);
// The same with separate periods along x and y (0 for none).
double ValueNoiseXY(double x, double y, std::uint32_t seed, int periodX, int periodY);

// Sum of octaves of value noise, each twice the frequency and half the amplitude of the one
// before, scaled back to [-1, 1].
double Fbm(double x, double y, std::uint32_t seed, int octaves, int period = 0);

// Ridged octaves in [0, 1]: thin bright lines where the noise crosses zero.
double Ridged(double x, double y, std::uint32_t seed, int octaves, int period = 0);

// Cellular noise: one random feature point per lattice cell (repeating every `period`
// cells). f1 and f2 are the distances to the nearest and second-nearest points, in cells;
// cell is a value in [0, 1) that identifies the nearest point's cell.
struct CellSample {
  double f1, f2, cell;
};
CellSample Cellular(double x, double y, std::uint32_t seed, int period);

}  // namespace datagen
