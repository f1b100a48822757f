// The application object without a window: the zoom animation and a frame whose scene
// cannot begin.
#include <gtest/gtest.h>

#include "tests/support/scene_on_recorder.h"

TEST(Application, ZoomStepsLandExactlyOnEveryTarget) {
  KV_APPLICATION application(true, 800, 600);  // no device: the zoom still moves
  application.UpdateProjection();
  EXPECT_FLOAT_EQ(application.zoom, 1.1f);
  int steps = 0;
  while (application.zoom != application.zoomTarget && steps < 100) {
    application.UpdateProjection();
    ++steps;
  }
  EXPECT_EQ(steps, 14);
  EXPECT_EQ(application.zoom, 2.5f);

  const std::pair<float, int> targets[] = {{10.0f, 75}, {5.0f, 50}, {2.5f, 25}, {5.0f, 25}};
  for (auto [target, expected] : targets) {
    application.zoomTarget = target;
    steps = 0;
    while (application.zoom != application.zoomTarget && steps < 200) {
      application.UpdateProjection();
      ++steps;
    }
    EXPECT_EQ(steps, expected) << "to " << target;
    EXPECT_EQ(application.zoom, target);
  }
}

TEST(Application, ProjectionIsSetWhileTheZoomMovesAndNotOnceItHasLanded) {
  KvSceneOnRecorder scene;
  KV_APPLICATION& application = *scene.application;
  KvTestClock clock;
  application.zoom = 2.4f;
  DWORD now = 1000;
  const auto projectionsInFrame = [&] {
    scene.recorder.ClearCalls();
    now += 17;
    KvTestClock::Set(now);
    application.Frame();
    int count = 0;
    for (const auto& call : scene.recorder.CallsOf(KvDeviceCall::kSetTransform)) {
      count += call.state == D3DTS_PROJECTION;
    }
    return count;
  };
  EXPECT_EQ(projectionsInFrame(), 1);
  EXPECT_EQ(application.zoom, 2.5f);
  EXPECT_EQ(projectionsInFrame(), 0);
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
