// The ground height probe on a 512 × 512-cell terrain (524,288 triangles): one downward query
// through the application, against a brute-force ray test over every triangle of the same
// mesh. Runs on an offscreen device.
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>

#include "app/application.h"
#include "platform/d3dx9/mesh_raycast.h"

namespace {

constexpr int kCells = 512;
constexpr float kCellSize = 0.5f;

float HeightAt(int i, int j) {
  return 0.8f * std::sin(i * 0.05f) * std::cos(j * 0.07f) - 1.0f;
}

std::string WriteTerrain() {
  const std::string path = "/tmp/kv_ground_bench_terrain.x";
  std::FILE* file = std::fopen(path.c_str(), "w");
  const int n = kCells + 1;
  std::fprintf(file, "xof 0303txt 0032\nMesh terrain {\n%d;\n", n * n);
  for (int j = 0; j < n; ++j) {
    for (int i = 0; i < n; ++i) {
      std::fprintf(file, "%.3f;%.3f;%.3f;%s\n", (i - kCells / 2) * kCellSize, HeightAt(i, j),
                   (j - kCells / 2) * kCellSize, (i + 1 == n && j + 1 == n) ? ";" : ",");
    }
  }
  std::fprintf(file, "%d;\n", kCells * kCells * 2);
  for (int j = 0; j < kCells; ++j) {
    for (int i = 0; i < kCells; ++i) {
      const int a = j * n + i, b = a + 1, c = a + n, d = c + 1;
      const bool last = i + 1 == kCells && j + 1 == kCells;
      std::fprintf(file, "3;%d,%d,%d;,\n3;%d,%d,%d;%s\n", a, c, d, a, d, b, last ? ";" : ",");
    }
  }
  std::fprintf(file, "}\n");
  std::fclose(file);
  return path;
}

LRESULT CALLBACK Procedure(HWND w, UINT m, WPARAM wp, LPARAM lp) {
  return DefWindowProcA(w, m, wp, lp);
}

struct Terrain {
  Terrain() {
    setenv("SDL_VIDEODRIVER", "offscreen", 0);
    WNDCLASSEXA windowClass = {};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = Procedure;
    windowClass.lpszClassName = "bench";
    RegisterClassExA(&windowClass);
    window = CreateWindowExA(0, "bench", "bench", 0, 0, 0, 64, 64, nullptr, nullptr,
                             GetModuleHandleA(nullptr), nullptr);
    direct3D = Direct3DCreate9(D3D_SDK_VERSION);
    D3DPRESENT_PARAMETERS parameters = {};
    parameters.BackBufferWidth = 64;
    parameters.BackBufferHeight = 64;
    parameters.Windowed = TRUE;
    parameters.hDeviceWindow = window;
    direct3D->CreateDevice(D3DADAPTER_DEFAULT, D3DDEVTYPE_HAL, window, 0, &parameters, &device);
    application.device = device;
    application.environmentModel = new KV_MODEL(device);
    application.environmentModel->Load(WriteTerrain().c_str());
    application.environmentModel->UpdateWorldMatrix();
  }
  KV_APPLICATION application{true, 64, 64};
  HWND window = nullptr;
  IDirect3D9* direct3D = nullptr;
  IDirect3DDevice9* device = nullptr;
};

Terrain& Shared() {
  static Terrain terrain;
  return terrain;
}

D3DXVECTOR3 RandomPoint(std::mt19937& random) {
  std::uniform_real_distribution<float> across(-kCells / 2 * kCellSize, kCells / 2 * kCellSize);
  return D3DXVECTOR3(across(random), 5.0f, across(random));
}

void BM_GroundHeight(benchmark::State& state) {
  Terrain& terrain = Shared();
  if (!terrain.application.environmentModel->GetMesh()) return state.SkipWithError("no mesh");
  std::mt19937 random(1);
  terrain.application.GroundHeight(D3DXVECTOR3(0, 5, 0), 2.0f);  // builds the hierarchy
  for (auto _ : state) {
    benchmark::DoNotOptimize(terrain.application.GroundHeight(RandomPoint(random), 2.0f));
  }
}
BENCHMARK(BM_GroundHeight)->Unit(benchmark::kMicrosecond);

void BM_BruteForce(benchmark::State& state) {
  Terrain& terrain = Shared();
  ID3DXMesh* mesh = terrain.application.environmentModel->GetMesh();
  if (!mesh) return state.SkipWithError("no mesh");
  BYTE* vertices = nullptr;
  void* indices = nullptr;
  mesh->LockVertexBuffer(0, reinterpret_cast<void**>(&vertices));
  mesh->LockIndexBuffer(0, &indices);
  const bool wide = (mesh->GetOptions() & D3DXMESH_32BIT) != 0;  // else 16-bit indices
  const auto index = [&](DWORD i) -> DWORD {
    return wide ? static_cast<const std::uint32_t*>(indices)[i]
                : static_cast<const std::uint16_t*>(indices)[i];
  };
  const DWORD stride = mesh->GetNumBytesPerVertex();
  const DWORD faces = mesh->GetNumFaces();
  const auto corner = [&](DWORD face, int k) {
    return reinterpret_cast<const float*>(vertices + index(face * 3 + k) * stride);
  };
  std::mt19937 random(1);
  const float down[3] = {0, -1, 0};
  for (auto _ : state) {
    const D3DXVECTOR3 p = RandomPoint(random);
    const float origin[3] = {p.x, p.y, p.z};
    float best = 1e30f;
    for (DWORD f = 0; f < faces; ++f) {
      float t, u, v;
      if (KvRayTriangle(origin, down, corner(f, 0), corner(f, 1), corner(f, 2), t, u, v) &&
          t < best) {
        best = t;
      }
    }
    benchmark::DoNotOptimize(best);
  }
  mesh->UnlockIndexBuffer();
  mesh->UnlockVertexBuffer();
}
BENCHMARK(BM_BruteForce)->Unit(benchmark::kMicrosecond);

}  // namespace
