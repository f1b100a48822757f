// The ray queries under the ground probe: the nearest hit ahead, as checking every face finds it.
#include "platform/d3dx9/mesh_raycast.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>

namespace {

constexpr float kNone = 1e30f;  // the distance when nothing is hit

struct Mesh {
  std::vector<float> positions;
  std::vector<std::uint32_t> indices;

  KvMeshRaycast Raycast() const {
    return KvMeshRaycast(positions.data(), positions.size() / 3, indices.data(),
                         indices.size() / 3);
  }
  // The nearest distance over every face the ray meets.
  float BruteForce(const float o[3], const float d[3]) const {
    float nearest = kNone, t, u, v;
    for (std::size_t f = 0; f < indices.size(); f += 3) {
      const float *a = &positions[3 * indices[f]], *b = &positions[3 * indices[f + 1]];
      if (KvRayTriangle(o, d, a, b, &positions[3 * indices[f + 2]], t, u, v))
        nearest = std::min(nearest, t);
    }
    return nearest;
  }
  // As BruteForce, through the hierarchy.
  float Nearest(const KvMeshRaycast& bvh, const float o[3], const float d[3]) const {
    KvRayHit hit;
    return bvh.Nearest(o, d, hit) ? hit.distance : kNone;
  }
};

// A bumpy height field of cells x cells squares, two triangles each, sharing vertices.
Mesh Terrain(int cells, float cellSize) {
  Mesh mesh;
  for (int j = 0; j <= cells; ++j) {
    for (int i = 0; i <= cells; ++i) {
      const float x = float(i) * cellSize, z = float(j) * cellSize;
      mesh.positions.insert(mesh.positions.end(), {x, std::sin(x * 0.7f) + std::cos(z * 1.3f), z});
      const std::uint32_t a = j * (cells + 1) + i, b = a + 1, c = b + cells + 1, d = c - 1;
      if (i < cells && j < cells) mesh.indices.insert(mesh.indices.end(), {a, b, c, a, c, d});
    }
  }
  return mesh;
}

// Two unit squares wound opposite ways, at y = 5 and y = 0.
Mesh StackedSquares() {
  Mesh mesh;
  for (const float y : {5.0f, 0.0f})
    mesh.positions.insert(mesh.positions.end(), {0, y, 0, 1, y, 0, 1, y, 1, 0, y, 1});
  mesh.indices = {0, 2, 1, 0, 3, 2, 4, 5, 6, 4, 6, 7};
  return mesh;
}

}  // namespace

// Random rays on a soup of triangles of very different sizes and on a terrain (half of them
// straight down); then straight down onto every vertex, edge midpoint and cell centre of the
// terrain, where a ray slipping between two faces would drop the viewer through the ground.
TEST(MeshRaycast, AgreesWithBruteForceOnSoupAndTerrainAndNeverSlipsThroughAGrid) {
  std::mt19937 rng(7);
  std::uniform_real_distribution<float> unit(-1, 1), length(0.1f, 10), size(0.05f, 4);
  Mesh soup;
  for (std::uint32_t f = 0; f < 2000; ++f) {
    const float centre[3] = {10 * unit(rng), 10 * unit(rng), 10 * unit(rng)}, scale = size(rng);
    for (int c = 0; c < 9; ++c) soup.positions.push_back(centre[c % 3] + scale * unit(rng));
    soup.indices.insert(soup.indices.end(), {3 * f, 3 * f + 1, 3 * f + 2});
  }
  const Mesh terrain = Terrain(30, 0.1f);
  const KvMeshRaycast soupBvh = soup.Raycast(), terrainBvh = terrain.Raycast();
  auto check = [](const Mesh& mesh, const KvMeshRaycast& bvh, const float* o, const float* d) {
    const float expected = mesh.BruteForce(o, d);
    EXPECT_NEAR(mesh.Nearest(bvh, o, d), expected, 1e-5f * (1 + expected)) << o[0] << " " << o[1];
  };
  for (int r = 0; r < 3000; ++r) {
    const float s = length(rng), o[3] = {12 * unit(rng), 12 * unit(rng), 12 * unit(rng)};
    const float d[3] = {s * unit(rng), s * unit(rng), s * unit(rng)}, down[3] = {0, -s, 0};
    const float ground[3] = {1.5f + 1.7f * unit(rng), 3 * unit(rng), 1.5f + 1.7f * unit(rng)};
    check(soup, soupBvh, o, d);
    check(terrain, terrainBvh, ground, r % 2 ? d : down);
  }
  for (int k = 0; k < 61 * 61; ++k) {
    const float o[3] = {float(k % 61) * 0.05f, 5, float(k / 61) * 0.05f}, down[3] = {0, -1, 0};
    EXPECT_TRUE(terrain.BruteForce(o, down) < kNone && terrain.Nearest(terrainBvh, o, down) < kNone)
        << o[0] << " " << o[2];
  }
}

// Surfaces behind the origin are not found, faces wound either way are, and 20000 identical
// faces (no position to split at) still build and hit; zero or NaN directions, an empty mesh,
// repeated corners, corners out of range and collinear corners never hit.
TEST(MeshRaycast, FindsTheNearestSurfaceAheadAndNothingForBadInput) {
  Mesh squares = StackedSquares(), none;
  squares.indices.resize(3 * 20000);
  for (std::size_t i = 12; i < squares.indices.size(); ++i)
    squares.indices[i] = squares.indices[i % 3];
  squares.indices.insert(squares.indices.end(), {0, 0, 1, 4, 5, 99});  // repeated, out of range
  const float between[3] = {0.75f, 3, 0.25f}, under[3] = {0.75f, -5, 0.25f}, zero[3] = {};
  const float down[3] = {0, -1, 0}, up[3] = {0, 1, 0}, bad[3] = {std::nanf(""), -1, 0};
  const KvMeshRaycast bvh = squares.Raycast();
  for (auto [from, to, distance] : {std::tuple{between, down, 3.0f},
                                    {between, up, 2.0f},
                                    {under, up, 5.0f},
                                    {under, down, kNone},
                                    {between, zero, kNone},
                                    {between, bad, kNone}}) {
    EXPECT_EQ(squares.Nearest(bvh, from, to), distance) << from[1] << " " << to[1];
  }
  EXPECT_EQ(none.Nearest(none.Raycast(), between, down), kNone);
  std::mt19937 rng(3);
  std::uniform_int_distribution<int> step(-40, 40);
  for (int r = 0; r < 200; ++r) {  // collinear corners a, a + e, a + 2e, aimed at a + e
    Mesh line{std::vector<float>(9), {0, 1, 2}};
    float from[3], dir[3];
    for (int k = 0; k < 3; ++k) {
      const float a = float(step(rng)) / 8, e = float(step(rng)) / 8;
      line.positions[k] = a, line.positions[3 + k] = a + e, line.positions[6 + k] = a + 2 * e;
      from[k] = float(step(rng)) / 4 + 0.3f;
      dir[k] = a + e - from[k];
    }
    EXPECT_EQ(std::pair(line.BruteForce(from, dir), line.Nearest(line.Raycast(), from, dir)),
              std::pair(kNone, kNone));
  }
}
