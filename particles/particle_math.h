// Arithmetic shared by the emitter kinds. Spawn formulas divide in double precision and keep
// the result as a 32-bit float, so a spawned value is the float nearest the exact quotient.
#pragma once

// Angles kept in degrees are turned into radians with this single-precision factor.
inline constexpr float kDegreesToRadians = 0.017453292f;

// numerator / denominator, divided in double precision.
inline float KvSpawnRatio(int numerator, double denominator) {
  return static_cast<float>(numerator / denominator);
}

// base + numerator / denominator, added and divided in double precision.
inline float KvSpawnOffset(float base, int numerator, double denominator) {
  return static_cast<float>(static_cast<double>(base) + numerator / denominator);
}
