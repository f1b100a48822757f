// The landscape mesh: the sampled height field and a sky dome around it. The environment is
// drawn with clockwise faces culled, so every face is wound counter-clockwise as seen from
// the side the viewer is on: from above for the ground, from inside for the sky.
#include <cmath>

#include "models.h"
#include "noise.h"
#include "terrain.h"

namespace datagen {
namespace {

enum EnvironmentMaterial : std::uint32_t { kGrass = 0, kRock = 1, kSky = 2 };

constexpr double kSkyRadius = 280.0;

std::vector<Material> EnvironmentMaterials() {
  Material grass{"Grass", {0.8, 0.8, 0.8}, 4.0, {0, 0, 0}, {0, 0, 0}, kGrassTexture};
  Material rock{"Rock", {0.7, 0.7, 0.7}, 8.0, {0.1, 0.1, 0.1}, {0, 0, 0}, kRockTexture};
  Material sky{"Sky", {1, 1, 1}, 0.0, {0, 0, 0}, {1, 1, 1}, kSkyTexture};
  return {grass, rock, sky};
}

// Texture v follows the ground up the cliff, so the rock there is not smeared vertically;
// over the valley it is plain z.
double TerrainV(double x, double z, double h) {
  double c = Smooth((z - CliffLine(x) + 6.0) / 5.0);
  return (z + c * h) / 4.0;
}

std::uint32_t PickMaterial(const Mesh& mesh, std::size_t face) {
  const auto& f = mesh.faces[face];
  Vec3 centre{};
  bool allPool = true;
  for (std::uint32_t i : f) {
    Vec3 p = mesh.vertices[i].position;
    centre = centre + p * (1.0 / 3.0);
    allPool = allPool && InPlungePool(p.x, p.z);
  }
  if (allPool) return kRock;
  double slope = mesh.FaceNormal(face).y;
  double rockLine = 24.0 + 6.0 * ValueNoise(centre.x * 0.1, centre.z * 0.1, 41);
  if (slope < 0.8 || (centre.y > rockLine && slope < 0.93) || centre.y > rockLine + 10.0) {
    return kRock;
  }
  return kGrass;
}

void AddTerrain(Mesh& mesh) {
  std::vector<double> lines = TerrainGridLines();
  const std::uint32_t n = static_cast<std::uint32_t>(lines.size());
  for (double z : lines) {
    for (double x : lines) {
      double h = TerrainHeight(x, z);
      mesh.AddVertex({x, h, z}, x / 4.0, TerrainV(x, z, h));
    }
  }
  const Vec3 up{0, 1, 0};
  for (std::uint32_t j = 0; j + 1 < n; ++j) {
    for (std::uint32_t i = 0; i + 1 < n; ++i) {
      std::uint32_t a = j * n + i, b = a + 1, c = a + n, d = c + 1;
      // Split along the diagonal whose midpoint lies closer to the true surface.
      double centre = TerrainHeight((lines[i] + lines[i + 1]) / 2, (lines[j] + lines[j + 1]) / 2);
      auto h = [&](std::uint32_t k) { return mesh.vertices[k].position.y; };
      if (std::fabs((h(a) + h(d)) / 2 - centre) <= std::fabs((h(b) + h(c)) / 2 - centre)) {
        mesh.AddFacing(a, b, d, up, kGrass);
        mesh.AddFacing(a, d, c, up, kGrass);
      } else {
        mesh.AddFacing(a, b, c, up, kGrass);
        mesh.AddFacing(b, d, c, up, kGrass);
      }
    }
  }
  for (std::size_t f = 0; f < mesh.faces.size(); ++f) mesh.faceMaterials[f] = PickMaterial(mesh, f);
}

// A sphere around the origin down to 5 degrees below the horizon: from anywhere in the
// valley the rim of the hills hides everything lower, and every sky pixel hidden behind the
// ground still costs the software renderer its depth test. The open bottom lets a downward
// ray from beyond the ground's edge find nothing.
void AddSky(Mesh& mesh) {
  const int slices = 36;
  const int stacks = 19;  // 5 degrees each, from the zenith down to -5 degrees
  std::uint32_t first = static_cast<std::uint32_t>(mesh.vertices.size());
  std::uint32_t top = mesh.AddVertex({0, kSkyRadius, 0}, 0.5, 0.02);
  for (int s = 1; s <= stacks; ++s) {
    double latitude = (90.0 - 5.0 * s) * kPi / 180.0;
    double v = latitude > 0 ? 0.02 + 0.96 * (1.0 - latitude / (kPi / 2)) : 0.98;
    for (int k = 0; k <= slices; ++k) {
      double longitude = 2.0 * kPi * k / slices;
      Vec3 p{kSkyRadius * Cos(latitude) * Cos(longitude), kSkyRadius * Sin(latitude),
             kSkyRadius * Cos(latitude) * Sin(longitude)};
      mesh.AddVertex(p, 2.0 * k / slices, v);
    }
  }
  auto ring = [&](int s, int k) { return first + 1 + (s - 1) * (slices + 1) + k; };
  for (int k = 0; k < slices; ++k) {
    Vec3 inward = mesh.vertices[ring(1, k)].position * -1.0;
    mesh.AddFacing(top, ring(1, k), ring(1, k + 1), inward, kSky);
  }
  for (int s = 1; s < stacks; ++s) {
    for (int k = 0; k < slices; ++k) {
      std::uint32_t a = ring(s, k), b = ring(s, k + 1), c = ring(s + 1, k), d = ring(s + 1, k + 1);
      Vec3 inward = (mesh.vertices[a].position + mesh.vertices[d].position) * -0.5;
      mesh.AddFacing(a, b, d, inward, kSky);
      mesh.AddFacing(a, d, c, inward, kSky);
    }
  }
}

Rgb GroundColor(const Vertex& v) {
  const Vec3 sun = Normalize({-0.35, 0.8, -0.5});  // behind the starting camera, high
  Vec3 p = v.position;
  double light = 0.42 + 0.62 * std::max(0.0, Dot(v.normal, sun));
  double open = 1.0 - 0.75 * TerrainOcclusion(p.x, p.y, p.z);
  double high = Smooth((p.y - 4.0) / 30.0);
  Rgb tint = Mix({1.0, 1.0, 0.93}, {1.0, 0.98, 0.97}, high);
  if (InPlungePool(p.x, p.z)) tint = tint * 0.8;
  return tint * (light * open);
}

}  // namespace

Mesh BuildEnvironment() {
  Mesh mesh;
  mesh.name = "Environment";
  mesh.winding = Winding::kCounterClockwise;
  mesh.materials = EnvironmentMaterials();
  AddTerrain(mesh);
  std::size_t groundVertices = mesh.vertices.size();
  AddSky(mesh);
  mesh.ComputeNormals();
  for (std::size_t i = 0; i < mesh.vertices.size(); ++i) {
    Vertex& v = mesh.vertices[i];
    v.color = i < groundVertices ? GroundColor(v) : Rgb{1, 1, 1};
  }
  return mesh;
}

}  // namespace datagen
