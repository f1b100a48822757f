// The keyboard controls, driven through the platform's key state and the frame step.
#include <gtest/gtest.h>

#include <array>

#include "platform/testing.h"
#include "tests/support/scene_on_recorder.h"

namespace {

// The scene on a recording device, with the keyboard in a known state.
struct KeyFrames {
  KeyFrames() { kv_testing::ReleaseAllKeys(); }
  ~KeyFrames() { kv_testing::ReleaseAllKeys(); }

  // Runs one frame with the given keys held during it (pressed before, released after).
  void FrameWith(std::initializer_list<int> keys) {
    for (int key : keys) kv_testing::PressKey(key);
    KvTestClock::Set(now += 17);
    app().Frame();
    for (int key : keys) kv_testing::ReleaseKey(key);
  }
  KV_APPLICATION& app() { return *scene.application; }

  KvSceneOnRecorder scene;
  KvTestClock clock;
  DWORD now = 1000;
};
class Controls : public ::testing::Test, public KeyFrames {};

// What each key moves: the first camera's x and z and heading, the zoom target, which camera
// is active (1 for the second), and the x of the fire pit and of the fountain.
std::array<float, 7> Readings(KV_APPLICATION& app) {
  const D3DXVECTOR3 eye = app.camera1->GetPosition();
  const float second = app.activeCamera == &app.camera2;
  const float fire = app.firePitModel->GetPosition().x,
              fountain = app.fountainModel->GetPosition().x;
  return {eye.x, eye.z, app.camera1->heading, app.zoomTarget, second, fire, fountain};
}

}  // namespace

// Each key alone, for one frame: the size and direction of its effect, and nothing else moved.
// F5 starts from a zoom target of 5 and F1 from the second camera, so that both show.
TEST(ControlsAlone, EachKeyHasItsOwnEffectAndNoOther) {
  const float turn = 2 * 0.017453292f;
  const struct {
    int key, reading;  // the one reading it moves, by `change`
    float change;
  } keys[] = {{'W', 1, 0.25f},  {'S', 1, -0.25f}, {'Q', 0, -0.25f},  {'E', 0, 0.25f},
              {'A', 2, -turn},  {'D', 2, turn},   {VK_F5, 3, -2.5f}, {VK_F6, 3, 2.5f},
              {VK_F7, 3, 7.5f}, {VK_F1, 4, -1},   {VK_F2, 4, 1},     {'T', 5, -0.1f},
              {'Y', 5, 0.1f},   {'G', 6, -0.1f},  {'H', 6, 0.1f}};
  for (const auto& [key, reading, change] : keys) {
    SCOPED_TRACE(testing::Message() << "key " << key);
    KeyFrames controls;
    KV_APPLICATION& app = controls.app();
    controls.FrameWith({});
    if (key == VK_F5) app.zoomTarget = 5;
    if (key == VK_F1) app.activeCamera = &app.camera2;
    const std::array<float, 7> before = Readings(app);
    controls.FrameWith({key});
    const std::array<float, 7> after = Readings(app);
    for (int i = 0; i < 7; ++i)
      EXPECT_NEAR(after[i] - before[i], (i == reading) * change, 1e-5) << i;
    EXPECT_EQ(app.fireEmitter->position.x, app.firePitModel->GetPosition().x);
    EXPECT_EQ(app.fountainEmitter->position.x, app.fountainModel->GetPosition().x);
  }
}

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

TEST_F(Controls, AKeyTappedBetweenFramesActsOnce) {
  FrameWith({});
  const float start = app().camera1->GetPosition().z;
  kv_testing::PressKey('W'), kv_testing::ReleaseKey('W');
  FrameWith({});
  EXPECT_FLOAT_EQ(app().camera1->GetPosition().z, start + 0.25f);
  FrameWith({});
  EXPECT_FLOAT_EQ(app().camera1->GetPosition().z, start + 0.25f);
}
