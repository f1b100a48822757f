// Runs the demo offscreen for a number of frames, holding keys during chosen frames, and
// saves the back buffer as PNG; with --timing it reports frame times instead.
//
//   kv_capture [--frames N] [--output FILE.png] [--hold KEY:FIRST-END]... [--snapshot N]...
//              [--timing] [--clear-only]
#include <algorithm>
#include <chrono>
#include <cstdio>

#include "app/window.h"
#include "platform/testing.h"
#include "tools/capture/capture_options.h"

namespace {

using Clock = std::chrono::steady_clock;

DWORD simulatedTime = 1000;
DWORD SimulatedClock() {
  return simulatedTime;
}

void SetKeys(const KvCaptureOptions& options, int frame) {
  for (const KvHeldKey& held : options.held) {
    if (frame == held.firstFrame) kv_testing::PressKey(held.virtualKey);
    if (frame == held.endFrame) kv_testing::ReleaseKey(held.virtualKey);
  }
}

void PumpMessages() {
  MSG message;
  while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
    if (message.message == WM_QUIT) continue;
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
}

std::string SnapshotName(const std::string& output, int frame) {
  const auto dot = output.rfind(".png");
  const std::string stem = dot == std::string::npos ? output : output.substr(0, dot);
  return stem + "-" + std::to_string(frame) + ".png";
}

double Milliseconds(Clock::duration d) {
  return std::chrono::duration<double, std::milli>(d).count();
}

void ReportTiming(std::vector<double> frameTimes, double firstFrame) {
  std::sort(frameTimes.begin(), frameTimes.end());
  const auto at = [&](double q) { return frameTimes[size_t(q * double(frameTimes.size() - 1))]; };
  std::printf("frames %zu  median %.2f ms  p95 %.2f ms  max %.2f ms  first frame %.1f ms\n",
              frameTimes.size(), at(0.5), at(0.95), frameTimes.back(), firstFrame);
}

// A frame with nothing in it: what every frame costs before the scene is drawn.
void ClearAndPresent(IDirect3DDevice9* device) {
  device->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0xFF000000, 1.0f, 0);
  device->BeginScene();
  device->EndScene();
  device->Present(nullptr, nullptr, nullptr, nullptr);
}

// Each frame advances the clock by one frame interval and a bit, so every call of Frame runs
// a frame exactly as the frame cap paces them.
int Run(const KvCaptureOptions& options) {
  const Clock::time_point start = Clock::now();
  kv_testing::SetClock(SimulatedClock);
  // Pictures are read after Present, so they are drawn offscreen; timing measures the window.
  kv_testing::DrawOffscreen(!options.timing || !options.snapshots.empty());
  KV_WINDOW window(GetModuleHandleA(nullptr), SW_SHOW);
  KV_APPLICATION& application = *window.application;
  if (!window.started) {
    std::fprintf(stderr, "kv_capture: the demo could not start: %s\n", KvLastPlatformError());
    application.Shutdown();
    return 1;
  }
  std::vector<double> frameTimes;
  double firstFrame = 0;
  for (int frame = 0; frame < options.frames; ++frame) {
    SetKeys(options, frame);
    PumpMessages();
    simulatedTime += 17;
    const Clock::time_point before = Clock::now();
    if (options.clearOnly) {
      ClearAndPresent(application.device);
    } else {
      application.Frame();
    }
    frameTimes.push_back(Milliseconds(Clock::now() - before));
    if (frame == 0) firstFrame = Milliseconds(Clock::now() - start);
    for (int snapshot : options.snapshots) {
      if (snapshot == frame + 1) {
        kv_testing::SaveBackBufferPng(application.device,
                                      SnapshotName(options.output, snapshot).c_str());
      }
    }
  }
  bool saved = true;
  if (options.timing) {
    ReportTiming(frameTimes, firstFrame);
  } else {
    saved = kv_testing::SaveBackBufferPng(application.device, options.output.c_str());
    if (!saved) std::fprintf(stderr, "kv_capture: cannot write %s\n", options.output.c_str());
  }
  application.Shutdown();
  kv_testing::SetClock(nullptr);
  return saved ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
  KvCaptureOptions options;
  std::string error;
  if (!KvParseCaptureOptions(argc, argv, options, error)) {
    std::fprintf(stderr, "kv_capture: %s\n", error.c_str());
    return 2;
  }
  return Run(options);
}
