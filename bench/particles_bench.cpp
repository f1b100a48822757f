// Cost per particle of the emitters: the kind's update plus the billboard matrix, and a
// whole Render including the submission to a device. The device here is the unit tests'
// recording device with recording off, so the Render figure is the emitter's own cost plus
// a trivial device; the OpenGL device's cost is measured separately.
#include <benchmark/benchmark.h>

#include "particles/eruption_emitter.h"
#include "particles/fire_emitter.h"
#include "particles/fountain_emitter.h"
#include "particles/waterfall_emitter.h"
#include "tests/support/recording_device.h"

namespace {

constexpr const char* kNoTexture = "Data\\Texture\\absent-in-benchmarks.png";

benchmark::Counter PerParticle(UINT count) {
  return benchmark::Counter(
      static_cast<double>(count),
      benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

template <typename Kind>
void UpdateAndMatrix(benchmark::State& state) {
  KvRecordingDevice device;
  const auto count = static_cast<UINT>(state.range(0));
  Kind kind(&device, kNoTexture, 0xFF0000FF, count);
  KV_EMITTER_BASE& emitter = kind;
  emitter.SetPosition(0, 0, 0);
  emitter.SetCameraPosition(3, 2, -10);
  for (auto _ : state) {
    for (UINT i = 0; i < count; ++i) {
      emitter.UpdateParticle(static_cast<int>(i));
      D3DXMATRIX world = emitter.BuildBillboardMatrix(static_cast<int>(i));
      benchmark::DoNotOptimize(world);
    }
  }
  state.counters["per_particle"] = PerParticle(count);
}

template <typename Kind>
void Render(benchmark::State& state) {
  KvRecordingDevice device;
  device.recordDraws = false;
  const auto count = static_cast<UINT>(state.range(0));
  Kind emitter(&device, kNoTexture, 0xFF0000FF, count);
  emitter.SetPosition(0, 0, 0);
  emitter.SetCameraPosition(3, 2, -10);
  for (auto _ : state) emitter.Render();
  state.counters["per_particle"] = PerParticle(count);
}

}  // namespace

BENCHMARK_TEMPLATE(UpdateAndMatrix, KV_FIRE_EMITTER)->Arg(125)->Arg(100000);
BENCHMARK_TEMPLATE(UpdateAndMatrix, KV_FOUNTAIN_EMITTER)->Arg(125)->Arg(100000);
BENCHMARK_TEMPLATE(UpdateAndMatrix, KV_WATERFALL_EMITTER)->Arg(125)->Arg(100000);
BENCHMARK_TEMPLATE(UpdateAndMatrix, KV_ERUPTION_EMITTER)->Arg(125)->Arg(100000);
BENCHMARK_TEMPLATE(Render, KV_FIRE_EMITTER)->Arg(125)->Arg(100000);
BENCHMARK_TEMPLATE(Render, KV_FOUNTAIN_EMITTER)->Arg(125)->Arg(100000);
BENCHMARK_TEMPLATE(Render, KV_WATERFALL_EMITTER)->Arg(125)->Arg(100000);
BENCHMARK_TEMPLATE(Render, KV_ERUPTION_EMITTER)->Arg(125)->Arg(100000);
