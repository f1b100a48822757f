// The fire pit: a ring of nine rough stones around a glowing bed of embers with three
// charred logs, about 1.5 units across, its origin at the centre of its base.
#include <cmath>

#include "models.h"
#include "noise.h"
#include "shapes.h"

namespace datagen {
namespace {

enum FirePitMaterial : std::uint32_t { kStone = 0, kEmbers = 1 };

constexpr int kStones = 9;

std::vector<Material> FirePitMaterials() {
  Material stone{"FireStone", {0.6, 0.58, 0.55}, 6.0, {0.1, 0.1, 0.1}, {0, 0, 0}, kRockTexture};
  Material embers{"Embers", {1.0, 0.55, 0.2}, 2.0, {0, 0, 0}, {0.8, 0.3, 0.05}, kEmberTexture};
  return {stone, embers};
}

void AddStones(Mesh& mesh, Rng& rng) {
  for (int i = 0; i < kStones; ++i) {
    double angle = 2.0 * kPi * (i + rng.Range(-0.15, 0.15)) / kStones;
    double ring = 0.58 + rng.Range(-0.03, 0.03);
    Vec3 radial{Cos(angle), 0, Sin(angle)};
    Vec3 along{-radial.z, 0, radial.x};
    double size = rng.Range(0.85, 1.15);
    std::uint32_t seed = 500 + i;
    Blob stone;
    stone.centre = radial * ring + Vec3{0, 0.07, 0};
    stone.axisX = along * (0.2 * size);
    stone.axisY = Vec3{0, 0.15 * size, 0};
    stone.axisZ = radial * (0.16 * size);
    stone.radius = [seed](Vec3 d) {
      return 1.0 + 0.12 * ValueNoise(d.x * 2.0 + d.y * 1.3, d.z * 2.0 - d.y, seed);
    };
    stone.slices = 10;
    stone.rings = 7;
    stone.uRepeats = 0.5;
    stone.vRepeats = 0.25;
    AddBlob(mesh, stone, kStone);
  }
}

void AddEmbers(Mesh& mesh) {
  Blob bed;
  bed.centre = {0, -0.03, 0};
  bed.axisX = {0.46, 0, 0};
  bed.axisY = {0, 0.13, 0};
  bed.axisZ = {0, 0, 0.46};
  bed.radius = [](Vec3 d) { return 1.0 + 0.15 * ValueNoise(d.x * 3.0, d.z * 3.0, 77); };
  bed.slices = 24;
  bed.rings = 7;
  bed.uRepeats = 2.0;
  bed.vRepeats = 1.0;
  AddBlob(mesh, bed, kEmbers);
  for (int i = 0; i < 3; ++i) {
    double angle = 2.0 * kPi * i / 3.0 + 0.4;
    Vec3 dir{Cos(angle), 0, Sin(angle)};
    Vec3 side{-dir.z, 0, dir.x};
    Blob log;
    log.centre = dir * 0.05 + Vec3{0, 0.12 + 0.035 * i, 0};
    log.axisX = side * 0.055;
    log.axisY = Vec3{0, 0.05, 0};
    log.axisZ = dir * 0.34;
    log.slices = 8;
    log.rings = 6;
    AddBlob(mesh, log, kEmbers);
  }
}

Rgb FirePitColor(const Vertex& v, bool stone) {
  const Vec3 light = Normalize({-0.4, 0.8, -0.45});
  double lit = 0.45 + 0.55 * std::max(0.0, Dot(v.normal, light));
  Vec3 p = v.position;
  if (!stone) {
    // The embers glow brightest low in the middle; the logs above them are charred.
    double heat = p.y < 0.1 ? 1.0 : 0.45;
    return Rgb{1.0, 0.9, 0.8} * heat;
  }
  Vec3 toCentre = Normalize(Vec3{-p.x, 0.1 - p.y, -p.z});
  double glow = std::max(0.0, Dot(v.normal, toCentre)) * 0.45;
  return Rgb{0.95, 0.92, 0.88} * lit + Rgb{1.0, 0.45, 0.12} * glow;
}

}  // namespace

Mesh BuildFirePit() {
  Mesh mesh;
  mesh.name = "FirePit";
  mesh.winding = Winding::kClockwise;
  mesh.materials = FirePitMaterials();
  Rng rng(0xF12E);
  AddStones(mesh, rng);
  std::size_t stoneVertices = mesh.vertices.size();
  AddEmbers(mesh);
  mesh.ComputeNormals();
  for (std::size_t i = 0; i < mesh.vertices.size(); ++i) {
    mesh.vertices[i].color = FirePitColor(mesh.vertices[i], i < stoneVertices);
  }
  return mesh;
}

}  // namespace datagen
