// The shipped scene with its particle pools scaled up, from 1,000 to 100,000 particles in
// all, uncapped on an offscreen OpenGL context, with the device gathering the particles'
// draws (gathered:1) and making one draw per particle (gathered:0).
//   BM_Render: CPU time of the drawing thread in the three emitters' Render (update, matrix,
//     transform, draw), up to the end of the scene, which issues what was gathered;
//     cpu_ns_per_particle is that time per particle.
//   BM_Frame: wall time of one whole frame, the same work the program does every frame.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <ctime>

#include "app/window.h"
#include "platform/testing.h"
#include "tests/support/scene_on_recorder.h"
#include "tests/support/stress_scene.h"

namespace {

double ThreadCpuSeconds() {
  timespec now{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
  return double(now.tv_sec) + double(now.tv_nsec) * 1e-9;
}

// A running program with `particles` particles in its three emitters.
struct StressProgram {
  explicit StressProgram(const benchmark::State& state)
      : window(GetModuleHandleA(nullptr), SW_SHOW), particles(int(state.range(0))) {
    if (!window.started) return;
    KvScaleEmitterPools(*window.application, particles / kShippedParticles);
    kv_testing::SetDrawBatching(window.application->device, state.range(1) != 0);
    for (int i = 0; i < 5; ++i) Frame();  // past the first frames' shader compilation
  }
  ~StressProgram() {
    if (window.started) window.application->Shutdown();
  }
  void Frame() {
    now += 17;
    KvTestClock::Set(now);
    window.application->Frame();
  }
  void RenderEmitters() {
    KV_APPLICATION& app = *window.application;
    const D3DXVECTOR3 eye = (*app.activeCamera)->GetPosition();
    app.device->BeginScene();
    for (KV_EMITTER_BASE* emitter : {static_cast<KV_EMITTER_BASE*>(app.waterfallEmitter),
                                     static_cast<KV_EMITTER_BASE*>(app.fireEmitter),
                                     static_cast<KV_EMITTER_BASE*>(app.fountainEmitter)}) {
      emitter->SetCameraPosition(eye.x, eye.y, eye.z);
      emitter->Render();
    }
    app.device->EndScene();
  }

  KvTestClock clock;
  KV_WINDOW window;
  int particles;
  DWORD now = 1000;
};

void BM_Render(benchmark::State& state) {
  StressProgram program(state);
  if (!program.window.started) return state.SkipWithError("no OpenGL context");
  double cpu = 0;
  for (auto _ : state) {
    const double start = ThreadCpuSeconds();
    program.RenderEmitters();
    const double spent = ThreadCpuSeconds() - start;
    cpu += spent;
    state.SetIterationTime(spent);
    // Let the rasterizer finish this round before the next is measured.
    program.window.application->device->Present(nullptr, nullptr, nullptr, nullptr);
  }
  state.counters["cpu_ns_per_particle"] =
      cpu * 1e9 / (double(state.iterations()) * program.particles);
}

void BM_Frame(benchmark::State& state) {
  StressProgram program(state);
  if (!program.window.started) return state.SkipWithError("no OpenGL context");
  for (auto _ : state) program.Frame();
  state.counters["particles"] = program.particles;
}

void Sizes(benchmark::internal::Benchmark* benchmark) {
  for (int gathered : {1, 0}) {
    for (int particles : {1000, 10000, 100000}) benchmark->Args({particles, gathered});
  }
  benchmark->ArgNames({"particles", "gathered"})->Unit(benchmark::kMillisecond);
}

}  // namespace

BENCHMARK(BM_Render)->Apply(Sizes)->UseManualTime()->MinTime(1.0);
BENCHMARK(BM_Frame)->Apply(Sizes)->UseRealTime()->MinTime(1.0);

int main(int argc, char** argv) {
  setenv("SDL_VIDEODRIVER", "offscreen", 0);  // no window on the screen
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
