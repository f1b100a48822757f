// The frame step without a window: the zoom, a frame whose scene cannot begin, the frame cap's
// pace while the 32-bit millisecond clock wraps, and keys held for thousands of frames carrying
// the fire pit, fountain and camera off the environment, where the ground probe gives the offset.
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

// The camera and every particle are at finite places (the models' places are checked exactly).
void ExpectFinite(KV_APPLICATION& app) {
  EXPECT_TRUE(Finite(app.camera1->GetPosition()) && Finite(app.camera1->GetTarget()));
  for (KV_EMITTER_BASE* emitter : std::initializer_list<KV_EMITTER_BASE*>{
           app.fireEmitter, app.fountainEmitter, app.waterfallEmitter}) {
    for (UINT i = 0; i < emitter->particleCount; ++i)
      EXPECT_TRUE(Finite(emitter->particles[i].position)) << "particle " << i;
  }
}

}  // namespace

TEST(Application, ZoomStepsLandExactlyOnEveryTarget) {
  KV_APPLICATION application(true, 800, 600);  // no device: the zoom still moves
  application.UpdateProjection();
  EXPECT_FLOAT_EQ(application.zoom, 1.1f);
  EXPECT_EQ(application.zoomTarget, 2.5f);
  for (auto [target, expected] :
       {std::pair{2.5f, 14}, {10.0f, 75}, {5.0f, 50}, {2.5f, 25}, {5.0f, 25}}) {
    application.zoomTarget = target;
    int steps = 0;
    for (; application.zoom != target && steps < 200; ++steps) application.UpdateProjection();
    EXPECT_EQ(steps, expected) << "to " << target;  // 200 when it never lands exactly
  }
}

TEST(Application, AFailedBeginSceneDrawsNothingButStillPresents) {
  KvSceneOnRecorder scene;
  KvTestClock clock;
  scene.recorder.beginSceneResult = D3DERR_INVALIDCALL;
  KvTestClock::Set(100);
  scene.application->Frame();
  EXPECT_TRUE(scene.recorder.draws.empty());
  EXPECT_EQ(std::pair(scene.recorder.scenesEnded, scene.recorder.presents), std::pair(0, 1));
}

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
    for (size_t i = 1; i < frames.size(); ++i)
      ASSERT_EQ(frames[i] - frames[i - 1], pace) << "frame " << i << " at " << frames[i];
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
    ExpectFinite(app);
    const D3DXVECTOR3 fire = app.firePitModel->GetPosition();
    const D3DXVECTOR3 fountain = app.fountainModel->GetPosition();
    EXPECT_LT(fire.x, -290.0f);
    EXPECT_GT(fountain.x, 290.0f);
    EXPECT_EQ(
        std::tuple(fire.y, fountain.y, app.fireEmitter->position, app.fountainEmitter->position),
        std::tuple(0.0f, 1.0f, fire, fountain));
    if (phase.keys[0] == 'T') continue;  // the camera has not moved yet
    const D3DXVECTOR3 eye = app.camera1->GetPosition();
    EXPECT_GT(std::max(std::fabs(eye.x), std::fabs(eye.z)), 290.0f);
    EXPECT_EQ(std::pair(eye.y, app.camera1->GetTarget().y), std::pair(2.0f, 2.0f));
  }
  EXPECT_GT(app.camera1->GetPosition().x, 300.0f);
}
