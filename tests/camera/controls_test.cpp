// The keyboard controls, driven through the platform's key state and the frame step.
#include <gtest/gtest.h>

#include <cmath>

#include "platform/testing.h"
#include "tests/support/scene_on_recorder.h"

namespace {

class Controls : public ::testing::Test {
 protected:
  Controls() { kv_testing::ReleaseAllKeys(); }
  ~Controls() override { kv_testing::ReleaseAllKeys(); }

  // Runs one frame with the given keys held during it (pressed before, released after).
  void FrameWith(std::initializer_list<int> keys) {
    for (int key : keys) kv_testing::PressKey(key);
    now += 17;
    KvTestClock::Set(now);
    app().Frame();
    for (int key : keys) kv_testing::ReleaseKey(key);
  }
  KV_APPLICATION& app() { return *scene.application; }

  KvSceneOnRecorder scene;
  KvTestClock clock;
  DWORD now = 1000;
};

}  // namespace

TEST_F(Controls, OppositeKeysBothAct) {
  FrameWith({});
  const D3DXVECTOR3 start = app().camera1->GetPosition();
  FrameWith({'W', 'S'});
  EXPECT_NEAR(app().camera1->GetPosition().z, start.z, 1e-5);

  app().camera1->SetTarget(D3DXVECTOR3(3, 2, -8));  // a target not 2 ahead
  FrameWith({'A', 'D'});
  D3DXVECTOR3 ahead = app().camera1->GetTarget() - app().camera1->GetPosition();
  EXPECT_NEAR(app().camera1->heading, 0.0f, 1e-6);
  EXPECT_LT(D3DXVec3Length(&(ahead -= D3DXVECTOR3(0, 0, 2))), 1e-5f);  // level, 2 ahead

  FrameWith({VK_F1, VK_F2});
  EXPECT_EQ(app().activeCamera, &app().camera2);
}

TEST_F(Controls, SwitchingCameraShowsTheNewOneInTheSameFrame) {
  FrameWith({});
  const float before = app().camera1->GetPosition().z;
  FrameWith({'W', VK_F2});
  EXPECT_FLOAT_EQ(app().camera1->GetPosition().z, before + 0.25f);  // the old camera moved
  EXPECT_EQ(app().activeCamera, &app().camera2);
  const D3DXMATRIX view = scene.recorder.Transform(D3DTS_VIEW);  // the last one set
  D3DXVECTOR3 eye = app().camera2->GetPosition();
  D3DXVec3TransformCoord(&eye, &eye, &view);  // camera 2's eye is the view's origin
  EXPECT_NEAR(D3DXVec3Length(&eye), 0.0f, 1e-4);
}

TEST_F(Controls, ZoomKeysSetATargetThatStays) {
  for (auto [key, target] : {std::pair{VK_F6, 5.0f}, {VK_F7, 10.0f}, {VK_F5, 2.5f}}) {
    FrameWith({key});
    for (int i = 0; i < 3; ++i) FrameWith({});
    EXPECT_EQ(app().zoomTarget, target) << key;
  }
}

TEST_F(Controls, SlidingKeysMoveTheModelAndItsEmitter) {
  for (int i = 0; i < 10; ++i) FrameWith({'T'});
  EXPECT_NEAR(app().firePitModel->GetPosition().x, 1.5f, 1e-4);
  EXPECT_EQ(app().fireEmitter->position.x, app().firePitModel->GetPosition().x);
  for (int key : {'G', 'H', 'H'}) FrameWith({key});
  EXPECT_NEAR(app().fountainModel->GetPosition().x, -2.4f, 1e-5);
  EXPECT_EQ(app().fountainEmitter->position.x, app().fountainModel->GetPosition().x);
  EXPECT_EQ(app().waterfallEmitter->position.x, 0.0f);  // never placed, never moved here
}

TEST_F(Controls, AKeyTappedBetweenFramesActsOnce) {
  FrameWith({});
  const float start = app().camera1->GetPosition().z;
  kv_testing::PressKey('W');
  kv_testing::ReleaseKey('W');
  FrameWith({});
  EXPECT_FLOAT_EQ(app().camera1->GetPosition().z, start + 0.25f);
  FrameWith({});
  EXPECT_FLOAT_EQ(app().camera1->GetPosition().z, start + 0.25f);
}
