// Small vector type and math helpers whose results do not depend on the C library: the
// trigonometry is evaluated with basic arithmetic only, so the generated files come out
// byte-identical on every machine.
#pragma once

#include <cmath>

namespace datagen {

inline constexpr double kPi = 3.14159265358979323846;

double Sin(double x);
double Cos(double x);

inline double Clamp(double v, double lo, double hi) {
  return v < lo ? lo : (v > hi ? hi : v);
}
inline double Lerp(double a, double b, double t) {
  return a + (b - a) * t;
}
// Hermite step of t clamped to [0, 1].
inline double Smooth(double t) {
  t = Clamp(t, 0.0, 1.0);
  return t * t * (3.0 - 2.0 * t);
}
// 0 below edge0, 1 above edge1, smooth in between.
inline double SmoothStep(double edge0, double edge1, double x) {
  return Smooth((x - edge0) / (edge1 - edge0));
}

// A smooth bump of the squared distance e2: 1 at 0, falling to 0 at 1 and beyond.
inline double Bump(double e2) {
  return e2 < 1.0 ? (1.0 - e2) * (1.0 - e2) : 0.0;
}

struct Vec3 {
  double x = 0, y = 0, z = 0;
};

inline Vec3 operator+(Vec3 a, Vec3 b) {
  return {a.x + b.x, a.y + b.y, a.z + b.z};
}
inline Vec3 operator-(Vec3 a, Vec3 b) {
  return {a.x - b.x, a.y - b.y, a.z - b.z};
}
inline Vec3 operator*(Vec3 a, double s) {
  return {a.x * s, a.y * s, a.z * s};
}
inline double Dot(Vec3 a, Vec3 b) {
  return a.x * b.x + a.y * b.y + a.z * b.z;
}
inline Vec3 Cross(Vec3 a, Vec3 b) {
  return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}
inline double Length(Vec3 a) {
  return std::sqrt(Dot(a, a));
}
inline Vec3 Normalize(Vec3 a) {
  double len = Length(a);
  return len > 0 ? a * (1.0 / len) : Vec3{0, 1, 0};
}

struct Rgb {
  double r = 1, g = 1, b = 1;
};

inline Rgb operator*(Rgb a, double s) {
  return {a.r * s, a.g * s, a.b * s};
}
inline Rgb operator*(Rgb a, Rgb b) {
  return {a.r * b.r, a.g * b.g, a.b * b.b};
}
inline Rgb operator+(Rgb a, Rgb b) {
  return {a.r + b.r, a.g + b.g, a.b + b.b};
}
inline Rgb Mix(Rgb a, Rgb b, double t) {
  return {Lerp(a.r, b.r, t), Lerp(a.g, b.g, t), Lerp(a.b, b.b, t)};
}

}  // namespace datagen
