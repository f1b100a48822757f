#include "terrain.h"

#include <algorithm>
#include <cmath>

#include "det_math.h"
#include "noise.h"

namespace datagen {
namespace {

constexpr double kPoolX = 11.0;
constexpr double kPoolZ = 17.0;
constexpr double kOpenRadius = 3.0;

double ValleyFloor(double x, double z) {
  return -0.5 + 0.28 * Fbm(x * 0.08, z * 0.08, 11, 3);
}

// Distance outside the valley basin, a rounded box around the walkable floor.
double BasinDistance(double x, double z) {
  const double radius = 10.0;
  double qx = std::fabs(x) - (38.0 - radius);
  double qz = std::fabs(z - 2.0) - (13.0 - radius);
  double ox = std::max(qx, 0.0), oz = std::max(qz, 0.0);
  return std::max(std::sqrt(ox * ox + oz * oz) - radius, 0.0);
}

double Hills(double x, double z, double d) {
  if (d <= 0) return 0;
  double rise = 30.0 * Smooth(d / 80.0) + 0.05 * d;
  double bumps = 5.0 * Fbm(x * 0.03, z * 0.03, 23, 4) * Smooth(d / 15.0);
  double ridges = 12.0 * Ridged(x * 0.02, z * 0.02, 29, 3) * Smooth((d - 10.0) / 40.0);
  return rise + bumps + ridges;
}

// The highland north of the cliff: highest behind the head, climbing further north.
double Plateau(double x, double z, double foot) {
  double behindHead = 6.0 * Bump((x - 11.0) * (x - 11.0) / (25.0 * 25.0));
  return 22.0 + behindHead + 2.0 * Fbm(x * 0.05, z * 0.05, 37, 3) + 0.3 * (z - foot);
}

double PoolFloor(double x, double z) {
  double dx = x - kPoolX, dz = z - kPoolZ;
  return -1.5 + 0.4 * (dx * dx + dz * dz) / 16.0;
}

}  // namespace

double CliffLine(double x) {
  double z = 20.0;
  // Closer in on the head's right, so the back of the head meets the rock.
  z -= 2.0 * Smooth((x - 12.5) / 2.5) * (1.0 - Smooth((x - 17.0) / 8.0));
  // Away from the head the cliff juts and recedes.
  z += 3.0 * ValueNoise(x * 0.1, 0.5, 31) * Smooth((std::fabs(x - 11.0) - 7.0) / 8.0);
  return z;
}

bool InPlungePool(double x, double z) {
  double dx = std::max(std::fabs(x - kPoolX) - 1.0, 0.0);
  double dz = std::max(std::fabs(z - kPoolZ) - 1.0, 0.0);
  return std::sqrt(dx * dx + dz * dz) < kOpenRadius;
}

double TerrainHeight(double x, double z) {
  double h = ValleyFloor(x, z) + Hills(x, z, BasinDistance(x, z));
  double foot = CliffLine(x);
  double t = Smooth((z - foot) / 0.9);
  if (t > 0) h = Lerp(h, std::max(h, Plateau(x, z, foot)), t);
  if (InPlungePool(x, z)) h = std::min(h, PoolFloor(x, z));
  return h;
}

std::vector<double> TerrainGridLines() {
  std::vector<double> lines;
  for (double v = -120.0; v < -50.0; v += 5.0) lines.push_back(v);
  for (double v = -50.0; v < -32.0; v += 2.0) lines.push_back(v);
  for (double v = -32.0; v < 32.0; v += 1.0) lines.push_back(v);
  for (double v = 32.0; v < 50.0; v += 2.0) lines.push_back(v);
  for (double v = 50.0; v <= 120.0; v += 5.0) lines.push_back(v);
  return lines;
}

double TerrainOcclusion(double x, double y, double z) {
  static const double kSteps[] = {1.0, 2.0, 3.5, 5.5, 8.0, 12.0, 18.0};
  const int directions = 8;
  double total = 0;
  for (int i = 0; i < directions; ++i) {
    double angle = 2.0 * kPi * i / directions;
    double dx = Cos(angle), dz = Sin(angle);
    double steepest = 0;
    for (double s : kSteps) {
      steepest = std::max(steepest, (TerrainHeight(x + dx * s, z + dz * s) - y) / s);
    }
    total += steepest / std::sqrt(1.0 + steepest * steepest);
  }
  return total / directions;
}

}  // namespace datagen
