// Building blocks for the small models: surfaces of revolution and deformed ellipsoids.
#pragma once

#include <functional>
#include <vector>

#include "mesh.h"

namespace datagen {

struct ProfilePoint {
  double r, y;
};

// Turns a profile (radius, height) about the y axis through `centre`. Each segment becomes a
// band of its own, so the corners of the profile stay sharp. The visible side of a segment
// going from p to q is to its right in the (r, y) plane: (q.y - p.y, p.r - q.r). Texture u
// runs `uRepeats` times around, v along the profile at `vScale` per unit length.
void AddLathe(Mesh& mesh, Vec3 centre, const std::vector<ProfilePoint>& profile, int slices,
              std::uint32_t material, double uRepeats, double vScale);

// Frame and proportions of a closed blob: a point d on the unit sphere lands at
// centre + (axisX d.x + axisY d.y + axisZ d.z) * Radius(d).
struct Blob {
  Vec3 centre;
  Vec3 axisX{1, 0, 0}, axisY{0, 1, 0}, axisZ{0, 0, 1};
  std::function<double(Vec3)> radius = [](Vec3) { return 1.0; };
  // Maps the uniform angle about y (-pi at the back, 0 at the front, -z) to the angle used;
  // lets a blob spend more slices on its front.
  std::function<double(double)> warp = [](double a) { return a; };
  // Maps the uniform ring parameter (0 at the top, 1 at the bottom) to the one used.
  std::function<double(double)> ringWarp = [](double t) { return t; };
  int slices = 16;
  int rings = 10;
  double uRepeats = 1.0;
  double vRepeats = 1.0;
};

// The unit-sphere direction for slice angle `angle` (0 at the front, -z) and latitude.
Vec3 SphereDirection(double angle, double latitude);

// Adds the blob's triangles, all with `material`; returns the index of its first vertex.
std::uint32_t AddBlob(Mesh& mesh, const Blob& blob, std::uint32_t material);

}  // namespace datagen
