#include "platform/mesh_raycast.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <random>

namespace {

struct Mesh {
  std::vector<float> positions;
  std::vector<std::uint32_t> indices;

  std::size_t Faces() const { return indices.size() / 3; }
  KvMeshRaycast Raycast() const {
    return KvMeshRaycast(positions.data(), positions.size() / 3, indices.data(), Faces());
  }
  // Every face the ray meets, in face order.
  std::vector<KvRayHit> BruteForce(const float o[3], const float d[3]) const {
    std::vector<KvRayHit> hits;
    for (std::uint32_t f = 0; f < Faces(); ++f) {
      KvRayHit h{.face = f};
      const float* c[3];
      for (int i = 0; i < 3; ++i) c[i] = &positions[3 * indices[3 * f + i]];
      if (KvRayTriangle(o, d, c[0], c[1], c[2], h.distance, h.u, h.v)) hits.push_back(h);
    }
    return hits;
  }
};

// Triangles of very different sizes scattered through a 20-unit cube, each with its own corners.
Mesh TriangleSoup(std::mt19937& rng, int count) {
  std::uniform_real_distribution<float> where(-10, 10), offset(-1, 1), size(0.05f, 4);
  Mesh mesh;
  for (int f = 0; f < count; ++f) {
    const float centre[3] = {where(rng), where(rng), where(rng)}, scale = size(rng);
    for (int c = 0; c < 9; ++c) mesh.positions.push_back(centre[c % 3] + scale * offset(rng));
    for (int c = 0; c < 3; ++c) mesh.indices.push_back(std::uint32_t(3 * f + c));
  }
  return mesh;
}

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

// Two unit squares, the one at y = 5 listed before the one at y = 0.
Mesh StackedSquares() {
  Mesh mesh;
  for (const float y : {5.0f, 0.0f})
    mesh.positions.insert(mesh.positions.end(), {0, y, 0, 1, y, 0, 1, y, 1, 0, y, 1});
  mesh.indices = {0, 1, 2, 0, 2, 3, 4, 5, 6, 4, 6, 7};
  return mesh;
}

constexpr auto Nearer = [](const KvRayHit& a, const KvRayHit& b) {
  return a.distance < b.distance;
};

void ExpectAgreesWithBruteForce(const Mesh& mesh, const KvMeshRaycast& bvh, const float o[3],
                                const float d[3]) {
  const std::vector<KvRayHit> expected = mesh.BruteForce(o, d), all = bvh.All(o, d);
  KvRayHit actual;
  ASSERT_EQ(bvh.Nearest(o, d, actual), !expected.empty()) << o[0] << " " << o[1] << " " << o[2];
  ASSERT_EQ(all.size(), expected.size());
  EXPECT_TRUE(std::is_sorted(all.begin(), all.end(), Nearer));
  if (expected.empty()) return;
  const KvRayHit& best = *std::min_element(expected.begin(), expected.end(), Nearer);
  EXPECT_EQ(all.front().distance, actual.distance);
  EXPECT_NEAR(actual.distance, best.distance, 1e-5f * (1 + best.distance));
  // Unless two faces lie at the same distance, the same face at the same place.
  EXPECT_TRUE(actual.face != best.face || (actual.u == best.u && actual.v == best.v));
}

TEST(MeshRaycast, RayTriangleReportsDistanceAndBarycentricsFromBothSidesAndOnlyAhead) {
  const float a[3] = {0, 0, 0}, b[3] = {4, 0, 0}, c[3] = {0, 0, 4}, down2[3] = {0, -2, 0};
  const float above[3] = {1, 3, 2}, below[3] = {1, -3, 2}, up[3] = {0, 1, 0}, edge[3] = {1, 3, 0};
  const float nan = std::numeric_limits<float>::quiet_NaN(), zero[3] = {}, bad[3] = {0, nan, 0};
  float t = 0, u = 0, v = 0;
  ASSERT_TRUE(KvRayTriangle(above, down2, a, b, c, t, u, v));
  EXPECT_EQ(std::tuple(t, u, v), std::tuple(1.5f, 0.25f, 0.5f));  // t in direction lengths
  ASSERT_TRUE(KvRayTriangle(below, up, a, b, c, t, u, v));        // the back of the face
  EXPECT_FLOAT_EQ(t, 3);
  EXPECT_TRUE(KvRayTriangle(edge, down2, a, b, c, t, u, v));
  EXPECT_FALSE(KvRayTriangle(edge, down2, a, b, b, t, u, v) ||   // repeated corner
               KvRayTriangle(below, down2, a, b, c, t, u, v) ||  // face behind the origin
               KvRayTriangle(above, zero, a, b, c, t, u, v) ||
               KvRayTriangle(above, bad, a, b, c, t, u, v));
}

// Random rays on a soup and on a terrain (half of them straight down), and straight down onto
// every vertex, edge midpoint and cell centre of a fine terrain, where a ray slipping between
// two faces would drop the viewer through the ground.
TEST(MeshRaycast, AgreesWithBruteForceOnSoupAndTerrainAndNeverSlipsThroughAGrid) {
  std::mt19937 rng(7);
  std::uniform_real_distribution<float> unit(-1, 1), length(0.1f, 10);
  const Mesh soup = TriangleSoup(rng, 2000), terrain = Terrain(40, 0.5f), fine = Terrain(30, 0.1f);
  const KvMeshRaycast soupBvh = soup.Raycast(), terrainBvh = terrain.Raycast(),
                      fineBvh = fine.Raycast();
  for (int r = 0; r < 3000; ++r) {
    const float s = length(rng), o[3] = {12 * unit(rng), 12 * unit(rng), 12 * unit(rng)};
    const float d[3] = {s * unit(rng), s * unit(rng), s * unit(rng)}, down[3] = {0, -s, 0};
    ExpectAgreesWithBruteForce(soup, soupBvh, o, d);
    const float ground[3] = {10 + 11 * unit(rng), 3 * unit(rng), 10 + 11 * unit(rng)};
    ExpectAgreesWithBruteForce(terrain, terrainBvh, ground, r % 2 ? d : down);
  }
  const float down[3] = {0, -1, 0};
  for (int k = 0; k < 61 * 61; ++k) {
    const float o[3] = {float(k % 61) * 0.05f, 5, float(k / 61) * 0.05f};
    KvRayHit hit;
    EXPECT_TRUE(!fine.BruteForce(o, down).empty() && fineBvh.Nearest(o, down, hit))
        << o[0] << " " << o[2];
  }
}

TEST(MeshRaycast, FindsOnlySurfacesAheadListsAllInOrderAndBreaksTiesByFace) {
  const KvMeshRaycast bvh = StackedSquares().Raycast();
  const float between[3] = {0.75f, 3, 0.25f}, under[3] = {0.75f, -5, 0.25f};
  const float down[3] = {0, -1, 0}, up[3] = {0, 1, 0};
  KvRayHit hit;
  ASSERT_TRUE(bvh.Nearest(between, down, hit));  // the square above the origin is not found
  EXPECT_EQ(std::pair(hit.face / 2, hit.distance), std::pair(1u, 3.0f));
  EXPECT_FALSE(bvh.Nearest(under, down, hit));
  const std::vector<KvRayHit> all = bvh.All(under, up);  // lower square first
  ASSERT_EQ(all.size(), 2u);
  EXPECT_EQ(std::tuple(all[0].face / 2, all[0].distance, all[1].face / 2, all[1].distance),
            std::tuple(1u, 5.0f, 0u, 10.0f));
  // 20000 identical faces leave no position to split at.
  Mesh copies = StackedSquares();
  copies.indices.resize(3 * 20000);
  for (std::size_t i = 3; i < copies.indices.size(); ++i) copies.indices[i] = copies.indices[i % 3];
  const KvMeshRaycast many = copies.Raycast();
  ASSERT_TRUE(many.Nearest(between, up, hit));
  EXPECT_EQ(hit.face, 0u);
  EXPECT_EQ(many.All(between, up).size(), 20000u);
}

TEST(MeshRaycast, EmptyDegenerateAndInvalidInputsNeverHit) {
  const float o[3] = {0.5f, 2, 0.5f}, down[3] = {0, -1, 0}, zero[3] = {};
  const float nan = std::numeric_limits<float>::quiet_NaN(), bad[3] = {nan, -1, 0};
  KvRayHit hit;
  EXPECT_FALSE(KvMeshRaycast(nullptr, 0, nullptr, 0).Nearest(o, down, hit));
  Mesh junk = StackedSquares();
  junk.indices = {0, 0, 1, 4, 5, 99, 4, 4, 4};  // repeated corners, a corner out of range
  EXPECT_FALSE(junk.Raycast().Nearest(o, down, hit));
  const KvMeshRaycast squares = StackedSquares().Raycast();
  EXPECT_TRUE(!squares.Nearest(o, zero, hit) && squares.All(o, bad).empty());
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
    EXPECT_TRUE(line.BruteForce(from, dir).empty() && !line.Raycast().Nearest(from, dir, hit));
  }
}

}  // namespace
