// What the device may do without changing a pixel: gathering the particles' draws (the shipped
// scene and one with forty times the particles, against a draw per particle), and losing its
// context for some frames, as a browser does, then making every object again (every mip level).
#include <gtest/gtest.h>

#include <numeric>

#include "app/window.h"
#include "particles/random_source.h"
#include "platform/testing.h"
#include "tests/support/scene_on_recorder.h"
#include "tests/support/stress_scene.h"

namespace {

// Runs the scene for `frames` frames, turning for the second half so the billboards turn too,
// with the context lost over frames [lostFrom, lostFrom + 5), and returns the back buffer.
std::vector<DWORD> RunScene(bool gathered, int poolFactor, int frames, int lostFrom = -1) {
  KvResetRandomSourceForTesting();
  KvTestClock clock;
  KV_WINDOW window(GetModuleHandleA(nullptr), SW_SHOW);
  EXPECT_TRUE(window.started) << KvLastPlatformError();
  if (!window.started) return {};
  KV_APPLICATION& app = *window.application;
  if (poolFactor > 1) KvScaleEmitterPools(app, poolFactor);
  EXPECT_TRUE(kv_testing::SetDrawBatching(app.device, gathered));
  for (int frame = 0; frame < frames; ++frame) {
    if (frame == frames / 2) kv_testing::PressKey('D');
    if (lostFrom >= 0 && (frame == lostFrom || frame == lostFrom + 5))
      kv_testing::SimulateContextLoss(app.device, frame == lostFrom);
    KvTestClock::Set(1000 + 17 * (frame + 1));
    app.Frame();
  }
  kv_testing::ReleaseAllKeys();
  std::vector<DWORD> pixels;
  UINT width = 0, height = 0;
  EXPECT_TRUE(kv_testing::ReadBackBuffer(app.device, pixels, width, height));
  app.Shutdown();
  return pixels;
}

size_t DifferentPixels(const std::vector<DWORD>& a, const std::vector<DWORD>& b) {
  if (a.size() != b.size()) return std::max(a.size(), b.size());
  return std::inner_product(a.begin(), a.end(), b.begin(), size_t{0}, std::plus<>(),
                            std::not_equal_to<>());
}

}  // namespace

TEST(GatheredDraws, ShippedAndStressScenesGiveThePicturesOfOneDrawPerParticle) {
  const std::vector<DWORD> shipped = RunScene(true, 1, 40), stress = RunScene(true, 40, 12);
  ASSERT_FALSE(shipped.empty() || stress.empty());
  EXPECT_EQ(DifferentPixels(shipped, RunScene(false, 1, 40)), 0u);
  EXPECT_EQ(DifferentPixels(stress, RunScene(false, 40, 12)), 0u);
  // The stress picture differs from the shipped one at the same frame: the extra particles drew.
  EXPECT_GT(DifferentPixels(stress, RunScene(true, 1, 12)), 1000u);
}

TEST(LostContext, TheSceneGoesOnUnseenAndShowsAsIfNeverLostOnceGivenBack) {
  const std::vector<DWORD> unlost = RunScene(true, 1, 40);
  ASSERT_FALSE(unlost.empty());
  EXPECT_EQ(DifferentPixels(RunScene(true, 1, 40, 15), unlost), 0u);
  // Lost to the end: the frames went on (no crash) and drew nothing since.
  EXPECT_GT(DifferentPixels(RunScene(true, 1, 40, 36), unlost), 1000u);
}
