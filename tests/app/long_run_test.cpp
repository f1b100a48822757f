// Long runs of the scene without a window: the frame cap keeps its pace while the 32-bit
// millisecond clock wraps, and keys held for thousands of frames carry the fire pit, the
// fountain and the camera off the environment, where the ground probe gives the offset alone.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "platform/testing.h"
#include "tests/support/fault_checks.h"
#include "tests/support/scene_on_recorder.h"

namespace {

bool Finite(const D3DXVECTOR3& v) {
  return std::isfinite(v.x) && std::isfinite(v.y) && std::isfinite(v.z);
}

// Every position of the scene, particles included, and the view are finite numbers.
void ExpectFinite(KvSceneOnRecorder& scene) {
  KV_APPLICATION& app = *scene.application;
  for (KV_CAMERA* camera : {app.camera1, app.camera2}) {
    EXPECT_TRUE(Finite(camera->GetPosition()) && Finite(camera->GetTarget()));
  }
  EXPECT_TRUE(Finite(app.firePitModel->GetPosition()) && Finite(app.fountainModel->GetPosition()));
  for (KV_EMITTER_BASE* emitter : std::initializer_list<KV_EMITTER_BASE*>{
           app.fireEmitter, app.fountainEmitter, app.waterfallEmitter}) {
    EXPECT_TRUE(Finite(emitter->position));
    for (UINT i = 0; i < emitter->particleCount; ++i) {
      EXPECT_TRUE(Finite(emitter->particles[i].position)) << "particle " << i;
    }
  }
  const D3DMATRIX view = scene.recorder.Transform(D3DTS_VIEW);
  for (const auto& row : view.m) EXPECT_TRUE(std::isfinite(row[0] + row[1] + row[2] + row[3]));
}

}  // namespace

TEST(LongRun, FramesKeepTheCapsPaceWhileTheClockWraps) {
  // However finely the clock ticks, a frame runs at the first tick more than 16 ms after the
  // last one: 17 ms apart at 1 ms ticks, 20 at 5 ms, 32 at 16 ms.
  for (auto [tick, pace] : {std::pair<DWORD, DWORD>{1, 17}, {5, 20}, {16, 32}}) {
    SCOPED_TRACE(tick);
    KvSceneOnRecorder scene;
    KV_APPLICATION& app = *scene.application;
    KvTestClock clock;
    std::vector<DWORD> frames;
    for (DWORD now = 0u - 2000u; now != 2000u; now += tick) {
      KvTestClock::Set(now);
      app.Frame();
      if (frames.empty() || app.lastFrameTime != frames.back()) frames.push_back(app.lastFrameTime);
    }
    EXPECT_EQ(frames.size(), size_t(scene.recorder.presents));
    EXPECT_EQ(frames.size(), (4000 - 1) / pace + 1);
    for (size_t i = 1; i < frames.size(); ++i) {
      ASSERT_EQ(frames[i] - frames[i - 1], pace) << "frame " << i << " at " << frames[i];
    }
  }
}

TEST(LongRun, KeysHeldForThousandsOfFramesLeaveTheGroundAndKeepTheSceneFinite) {
  KvSceneOnRecorder scene;
  KV_APPLICATION& app = *scene.application;
  app.environmentModel->Load("Data\\X\\environment.x");  // extends to ±280 in x and z
  ASSERT_NE(app.environmentModel->GetMesh(), nullptr);
  scene.recorder.recordDraws = false;
  KvTestClock clock;
  DWORD now = 0u - 100000u;  // the clock wraps during the run as well
  KvRunFrames(app, now, 1);
  EXPECT_LT(app.firePitModel->GetPosition().y, 0.0f);  // on the valley floor
  EXPECT_LT(app.camera1->GetPosition().y, 2.0f);

  const struct {
    std::vector<int> keys;
    int frames;
  } phases[] = {
      {{'T', 'H'}, 3000},  // the fire pit to x = -297.5, the fountain to x = 297.5
      {{'W'}, 1300},       // the camera to z = 315
      {{'A'}, 3600},       // twenty full turns on the spot
      {{'S'}, 2600},       // back across the valley to z = -335
      {{'D'}, 45},         // a quarter turn to face +x
      {{'W'}, 1300},       // out to x = 325
  };
  for (const auto& phase : phases) {
    SCOPED_TRACE(char(phase.keys[0]));
    for (int key : phase.keys) kv_testing::PressKey(key);
    KvRunFrames(app, now, phase.frames);
    kv_testing::ReleaseAllKeys();
    ExpectFinite(scene);
    const D3DXVECTOR3 fire = app.firePitModel->GetPosition();
    const D3DXVECTOR3 fountain = app.fountainModel->GetPosition();
    EXPECT_LT(fire.x, -290.0f);
    EXPECT_EQ(fire.y, 0.0f);
    EXPECT_EQ(app.fireEmitter->position, fire);
    EXPECT_GT(fountain.x, 290.0f);
    EXPECT_EQ(fountain.y, 1.0f);
    EXPECT_EQ(app.fountainEmitter->position, fountain);
    if (phase.keys[0] == 'T') continue;  // the camera has not moved yet
    const D3DXVECTOR3 eye = app.camera1->GetPosition();
    EXPECT_GT(std::max(std::fabs(eye.x), std::fabs(eye.z)), 290.0f);
    EXPECT_EQ(eye.y, 2.0f);
    EXPECT_EQ(app.camera1->GetTarget().y, 2.0f);
  }
  EXPECT_GT(app.camera1->GetPosition().x, 300.0f);
}
