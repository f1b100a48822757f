// Downward ray queries against a 512 x 512-cell terrain (524,288 triangles): the hierarchy
// against a loop over every triangle.
#include <benchmark/benchmark.h>

#include <cmath>
#include <random>
#include <vector>

#include "platform/d3dx9/mesh_raycast.h"

namespace {

constexpr int kCells = 512;

struct Terrain {
  std::vector<float> positions;
  std::vector<std::uint32_t> indices;

  Terrain() {
    for (int j = 0; j <= kCells; ++j) {
      for (int i = 0; i <= kCells; ++i) {
        const float x = float(i), z = float(j);
        const float y = 8 * std::sin(x * 0.021f) * std::cos(z * 0.017f) + std::sin(x * 0.13f + z);
        positions.insert(positions.end(), {x, y, z});
      }
    }
    const auto at = [](int i, int j) { return std::uint32_t(j * (kCells + 1) + i); };
    for (int j = 0; j < kCells; ++j) {
      for (int i = 0; i < kCells; ++i) {
        indices.insert(indices.end(), {at(i, j), at(i + 1, j), at(i + 1, j + 1), at(i, j),
                                       at(i + 1, j + 1), at(i, j + 1)});
      }
    }
  }
  std::size_t Faces() const { return indices.size() / 3; }
};

const Terrain& SharedTerrain() {
  static const Terrain terrain;
  return terrain;
}

// Ray origins above random points of the terrain.
std::vector<float> Origins(int count) {
  std::mt19937 rng(11);
  std::uniform_real_distribution<float> where(0, float(kCells));
  std::vector<float> origins;
  for (int i = 0; i < count; ++i) origins.insert(origins.end(), {where(rng), 50, where(rng)});
  return origins;
}

const float kDown[3] = {0, -1, 0};

void BM_Build(benchmark::State& state) {
  const Terrain& t = SharedTerrain();
  for (auto _ : state) {
    KvMeshRaycast raycast(t.positions.data(), t.positions.size() / 3, t.indices.data(), t.Faces());
    benchmark::DoNotOptimize(raycast);
  }
  state.counters["triangles"] = double(t.Faces());
}
BENCHMARK(BM_Build)->Unit(benchmark::kMillisecond);

void BM_Nearest(benchmark::State& state) {
  const Terrain& t = SharedTerrain();
  const KvMeshRaycast raycast(t.positions.data(), t.positions.size() / 3, t.indices.data(),
                              t.Faces());
  const std::vector<float> origins = Origins(4096);
  std::size_t next = 0, hits = 0;
  for (auto _ : state) {
    KvRayHit hit;
    hits += raycast.Nearest(&origins[3 * next], kDown, hit);
    benchmark::DoNotOptimize(hit);
    next = (next + 1) % 4096;
  }
  state.counters["hit_rate"] = double(hits) / double(state.iterations());
}
BENCHMARK(BM_Nearest)->Unit(benchmark::kMicrosecond);

void BM_BruteForce(benchmark::State& state) {
  const Terrain& t = SharedTerrain();
  const std::vector<float> origins = Origins(4096);
  std::size_t next = 0;
  for (auto _ : state) {
    const float* origin = &origins[3 * next];
    float best = INFINITY;
    for (std::size_t f = 0; f < t.Faces(); ++f) {
      const std::uint32_t* c = &t.indices[3 * f];
      float distance = 0, u = 0, v = 0;
      if (KvRayTriangle(origin, kDown, &t.positions[3 * c[0]], &t.positions[3 * c[1]],
                        &t.positions[3 * c[2]], distance, u, v)) {
        best = std::fmin(best, distance);
      }
    }
    benchmark::DoNotOptimize(best);
    next = (next + 1) % 4096;
  }
}
BENCHMARK(BM_BruteForce)->Unit(benchmark::kMicrosecond);

}  // namespace
