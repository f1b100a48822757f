// The application object without a window: the zoom animation and a frame whose scene
// cannot begin.
#include <gtest/gtest.h>

#include "tests/support/scene_on_recorder.h"

TEST(Application, ZoomStepsLandExactlyOnEveryTarget) {
  KV_APPLICATION application(true, 800, 600);  // no device: the zoom still moves
  application.UpdateProjection();
  EXPECT_FLOAT_EQ(application.zoom, 1.1f);
  EXPECT_EQ(application.zoomTarget, 2.5f);
  const std::pair<float, int> targets[] = {
      {2.5f, 14}, {10.0f, 75}, {5.0f, 50}, {2.5f, 25}, {5.0f, 25}};
  for (auto [target, expected] : targets) {
    application.zoomTarget = target;
    int steps = 0;
    for (; application.zoom != target && steps < 200; ++steps) application.UpdateProjection();
    EXPECT_EQ(steps, expected) << "to " << target;  // 200 when it never lands exactly
  }
}

TEST(Application, ProjectionIsSetWhileTheZoomMovesAndNotOnceItHasLanded) {
  KvSceneOnRecorder scene;
  KvTestClock clock;
  scene.application->zoom = 2.4f;
  for (int frame = 0; frame < 2; ++frame) {
    KvTestClock::Set(1000 + 17 * frame);
    scene.application->Frame();
    EXPECT_EQ(scene.recorder.projectionsSet, 1) << "frame " << frame;  // landed on 2.5 at once
  }
  EXPECT_EQ(scene.application->zoom, 2.5f);
}

TEST(Application, AFailedBeginSceneDrawsNothingButStillPresents) {
  KvSceneOnRecorder scene;
  KvTestClock clock;
  scene.recorder.SetBeginSceneResult(D3DERR_INVALIDCALL);
  KvTestClock::Set(100);
  scene.application->Frame();
  EXPECT_TRUE(scene.recorder.draws.empty());
  EXPECT_EQ(scene.recorder.scenesEnded, 0);
  EXPECT_EQ(scene.recorder.presents, 1);
}
