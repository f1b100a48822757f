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
    scene.recorder.ClearCalls();
    KvTestClock::Set(1000 + 17 * frame);
    scene.application->Frame();
    int projections = 0;
    for (const auto& call : scene.recorder.CallsOf(KvDeviceCall::kSetTransform)) {
      projections += call.state == D3DTS_PROJECTION;
    }
    EXPECT_EQ(projections, frame == 0 ? 1 : 0) << "frame " << frame;  // landed on 2.5 at once
  }
  EXPECT_EQ(scene.application->zoom, 2.5f);
}

TEST(Application, AFailedBeginSceneDrawsNothingButStillPresents) {
  KvSceneOnRecorder scene;
  KvTestClock clock;
  scene.recorder.SetBeginSceneResult(D3DERR_INVALIDCALL);
  KvTestClock::Set(100);
  scene.application->Frame();
  EXPECT_EQ(scene.recorder.CountOf(KvDeviceCall::kDrawPrimitive), 0u);
  EXPECT_EQ(scene.recorder.CountOf(KvDeviceCall::kEndScene), 0u);
  EXPECT_EQ(scene.recorder.CountOf(KvDeviceCall::kPresent), 1u);
}
