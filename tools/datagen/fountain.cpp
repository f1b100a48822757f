// The fountain: a round marble basin about 2 units across holding water, with a spout in the
// middle. Its origin is the top of the spout, where the spray leaves; the base is 1 below.
#include <cmath>

#include "models.h"
#include "shapes.h"

namespace datagen {
namespace {

enum FountainMaterial : std::uint32_t { kMarble = 0, kWater = 1 };

constexpr double kWaterLevel = -0.66;
constexpr int kSlices = 32;

std::vector<Material> FountainMaterials() {
  Material marble{"Marble", {0.9, 0.9, 0.88}, 24.0, {0.4, 0.4, 0.4}, {0, 0, 0}, kMarbleTexture};
  Material water{"Water", {0.5, 0.7, 0.9}, 40.0, {0.6, 0.6, 0.6}, {0, 0, 0}, kPoolTexture};
  return {marble, water};
}

// Outside wall from the foot up, over the rim, down the inside to the floor.
std::vector<ProfilePoint> BasinProfile() {
  return {{0.90, -1.00}, {0.96, -0.98}, {1.00, -0.92}, {1.00, -0.62}, {0.98, -0.57}, {0.93, -0.55},
          {0.88, -0.57}, {0.86, -0.62}, {0.86, -0.90}, {0.80, -0.94}, {0.16, -0.94}};
}

// The column from the basin floor to a small cup with the nozzle at the origin.
std::vector<ProfilePoint> SpoutProfile() {
  return {{0.16, -0.94}, {0.12, -0.86}, {0.09, -0.74}, {0.08, -0.30}, {0.10, -0.22}, {0.20, -0.12},
          {0.22, -0.07}, {0.20, -0.05}, {0.12, -0.07}, {0.05, -0.04}, {0.04, 0.00},  {0.00, 0.00}};
}

Rgb FountainColor(const Vertex& v, bool water) {
  if (water) return {0.85, 0.93, 1.0};
  const Vec3 light = Normalize({-0.4, 0.8, -0.45});
  double lit = 0.5 + 0.5 * std::max(0.0, Dot(v.normal, light));
  // The inside of the basin just above the water lies in shade.
  Vec3 p = v.position;
  double radius = std::sqrt(p.x * p.x + p.z * p.z);
  if (radius > 0.8 && radius < 0.9 && p.y < -0.6 && v.normal.y < 0.5) lit *= 0.75;
  return Rgb{1.0, 0.99, 0.97} * lit;
}

}  // namespace

Mesh BuildFountain() {
  Mesh mesh;
  mesh.name = "Fountain";
  mesh.winding = Winding::kClockwise;
  mesh.materials = FountainMaterials();
  AddLathe(mesh, {}, BasinProfile(), kSlices, kMarble, 4.0, 1.0);
  AddLathe(mesh, {}, SpoutProfile(), kSlices / 2, kMarble, 1.0, 1.0);
  std::size_t marbleVertices = mesh.vertices.size();
  AddLathe(mesh, {}, {{0.87, kWaterLevel}, {0.08, kWaterLevel}}, kSlices, kWater, 3.0, 1.5);
  mesh.ComputeNormals();
  for (std::size_t i = 0; i < mesh.vertices.size(); ++i) {
    mesh.vertices[i].color = FountainColor(mesh.vertices[i], i >= marbleVertices);
  }
  return mesh;
}

}  // namespace datagen
