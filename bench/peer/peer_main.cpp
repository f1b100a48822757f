// The peer engine's rendering of the demo's scene, timed: the frame time of the whole frame or
// of a part of it (--only), or the CPU per particle of the particle path alone (--stress).
// The engine's clock is stopped and moved on 17 ms a frame, so every simulation takes one
// step per frame whatever the frame rate. Run from the project's root, which holds Data/.
//
//   peer_scene [--frames N] [--warmup N] [--particles quads|psnode|none] [--scale K]
//              [--only clear|terrain|models] [--stress] [--shot FILE.png] [--shot-frame N]
#include <GL/gl.h>
#include <irrlicht.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <vector>

#include "peer_options.h"
#include "peer_scene.h"

namespace peer {

namespace {

constexpr irr::u32 kWidth = 800, kHeight = 600;
constexpr irr::u32 kFrameMs = 17;
const irr::video::SColor kBlack(255, 0, 0, 0);

// 800 x 600, 24-bit depth, double-buffered, no vsync, no multisampling; the engine says only
// what goes wrong.
irr::IrrlichtDevice* CreatePeerDevice() {
  irr::SIrrlichtCreationParameters parameters;
  parameters.DriverType = irr::video::EDT_OPENGL;
  parameters.WindowSize = irr::core::dimension2du(kWidth, kHeight);
  parameters.Bits = 32;
  parameters.ZBufferBits = 24;
  parameters.Doublebuffer = true;
  parameters.Vsync = false;
  parameters.AntiAlias = 0;
  parameters.LoggingLevel = irr::ELL_WARNING;
  return irr::createDeviceEx(parameters);
}

// The back buffer, before the swap, as a PNG with its rows top-down.
void SaveBackBuffer(irr::video::IVideoDriver* driver, const char* file) {
  std::vector<irr::u32> bottomUp(kWidth * kHeight), topDown(kWidth * kHeight);
  glReadBuffer(GL_BACK);
  glReadPixels(0, 0, kWidth, kHeight, GL_BGRA, GL_UNSIGNED_BYTE, bottomUp.data());
  for (irr::u32 row = 0; row < kHeight; ++row) {
    const irr::u32* from = &bottomUp[(kHeight - 1 - row) * kWidth];
    std::transform(from, from + kWidth, &topDown[row * kWidth],
                   [](irr::u32 pixel) { return pixel | 0xFF000000u; });
  }
  irr::video::IImage* image = driver->createImageFromData(
      irr::video::ECF_A8R8G8B8, {kWidth, kHeight}, topDown.data(), false, false);
  if (!image || !driver->writeImageToFile(image, file))
    std::fprintf(stderr, "peer_scene: cannot write %s\n", file);
  if (image) image->drop();
}

struct FrameStats {
  double median, p95, max, mean;
};

FrameStats Summarise(std::vector<double> ms) {
  if (ms.empty()) return {0, 0, 0, 0};
  std::sort(ms.begin(), ms.end());
  const auto at = [&](double q) { return ms[static_cast<size_t>(q * double(ms.size() - 1))]; };
  double sum = 0;
  for (double m : ms) sum += m;
  return {at(0.5), at(0.95), ms.back(), sum / double(ms.size())};
}

double QuadCpuSeconds(const PeerScene& scene) {
  double seconds = 0;
  for (const QuadEmitterNode* node : scene.quadEmitters) seconds += node->cpuSeconds();
  return seconds;
}

void ResetQuadCpu(PeerScene& scene) {
  for (QuadEmitterNode* node : scene.quadEmitters) node->resetCpuSeconds();
}

// One whole frame: input, clock, fire pit, clear, draw, and (unless saving it first) swap.
bool DrawFrame(irr::IrrlichtDevice* device, PeerScene& scene, int frame, const char* shot) {
  if (!device->run()) return false;
  device->getTimer()->setTime((frame + 1) * kFrameMs);
  PlaceFirePit(scene, frame);
  irr::video::IVideoDriver* driver = device->getVideoDriver();
  driver->beginScene(true, true, kBlack);
  device->getSceneManager()->drawAll();
  if (shot) SaveBackBuffer(driver, shot);
  driver->endScene();
  return true;
}

// Warm-up frames, then timed ones; the frame saved as a picture is not timed.
int RunFrames(irr::IrrlichtDevice* device, PeerScene& scene, const PeerOptions& options) {
  using Clock = std::chrono::steady_clock;
  std::vector<double> ms;
  irr::u32 triangles = 0;
  for (int frame = 0; frame < options.warmup + options.frames; ++frame) {
    if (frame == options.warmup) ResetQuadCpu(scene);
    const bool saving = !options.shot.empty() && frame + 1 == options.shotFrame;
    const Clock::time_point start = Clock::now();
    if (!DrawFrame(device, scene, frame, saving ? options.shot.c_str() : nullptr)) break;
    const double elapsed = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
    triangles = device->getVideoDriver()->getPrimitiveCountDrawn();
    if (frame >= options.warmup && !saving) ms.push_back(elapsed);
  }
  const FrameStats s = Summarise(ms);
  const double perParticle =
      scene.particleCount && !ms.empty()
          ? 1e9 * QuadCpuSeconds(scene) / double(ms.size()) / double(scene.particleCount)
          : 0.0;
  std::printf(
      "peer_scene particles=%s N=%u only=%s  frames %zu  median %.2f ms  p95 %.2f ms  "
      "max %.2f ms  mean %.2f ms  triangles %u  particle cpu %.1f ns/particle\n",
      NameOf(options.particles), scene.particleCount, NameOf(options.parts), ms.size(), s.median,
      s.p95, s.max, s.mean, triangles, perParticle);
  return ms.empty() ? 1 : 0;
}

// The particle path alone for one round: each emitter steps (the engine's nodes step when
// registered) and draws, between a scene begun without clearing and its end. Registering
// queues the engine's nodes for a drawAll that never comes; the queue only grows by three
// a round. Returns the thread CPU seconds and the quads drawn.
double StressRound(irr::IrrlichtDevice* device, PeerScene& scene, const PeerOptions& options,
                   irr::u32& quads) {
  irr::video::IVideoDriver* driver = device->getVideoDriver();
  driver->beginScene(false, false, kBlack);
  scene.camera->render();  // view and projection
  const double start = ThreadCpuSeconds();
  for (irr::scene::ISceneNode* emitter : scene.emitters) {
    if (options.particles == ParticlePath::kEngineNodes) emitter->OnRegisterSceneNode();
    emitter->render();
  }
  const double seconds = ThreadCpuSeconds() - start;
  quads = driver->getPrimitiveCountDrawn() / 2;
  driver->endScene();
  return seconds;
}

// Whole frames first, long enough to fill the engine's particle pools, then the rounds.
// The figure is per quad drawn: the engine's emitters come near the asked count, not onto it.
int RunStress(irr::IrrlichtDevice* device, PeerScene& scene, const PeerOptions& options) {
  int frame = 0;
  for (; frame < std::max(options.warmup, 200); ++frame)
    if (!DrawFrame(device, scene, frame, nullptr)) return 1;
  double seconds = 0;
  irr::u32 quads = 0;
  for (int round = 0; round < options.frames && device->run(); ++round, ++frame) {
    device->getTimer()->setTime((frame + 1) * kFrameMs);
    seconds += StressRound(device, scene, options, quads);
  }
  const double rounds = options.frames;
  std::printf(
      "peer_scene stress particles=%s N=%u quads_drawn=%u  cpu %.3f ms/round  "
      "%.1f ns/particle\n",
      NameOf(options.particles), scene.particleCount, quads, 1e3 * seconds / rounds,
      1e9 * seconds / (rounds * std::max<irr::u32>(quads, 1)));
  return 0;
}

int Run(irr::IrrlichtDevice* device, const PeerOptions& options) {
  PrepareLoading(device);
  PeerScene scene;
  if (!BuildScene(device, options, scene)) return 1;
  std::fprintf(stderr, "GL_RENDERER=%s  particles=%s x%u (%u)  only=%s\n",
               reinterpret_cast<const char*>(glGetString(GL_RENDERER)), NameOf(options.particles),
               options.scale, scene.particleCount, NameOf(options.parts));
  device->getTimer()->stop();
  return options.stress ? RunStress(device, scene, options) : RunFrames(device, scene, options);
}

}  // namespace

}  // namespace peer

int main(int argc, char** argv) {
  peer::PeerOptions options;
  if (!peer::ParseOptions(argc, argv, options)) return 2;
  irr::IrrlichtDevice* device = peer::CreatePeerDevice();
  if (!device) {
    std::fprintf(stderr, "peer_scene: no OpenGL device\n");
    return 1;
  }
  const int status = peer::Run(device, options);
  device->drop();
  return status;
}
