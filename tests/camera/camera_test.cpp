#include "camera/camera.h"

#include <gtest/gtest.h>

namespace {

void ExpectNear(const D3DXVECTOR3& actual, float x, float y, float z) {
  EXPECT_NEAR(actual.x, x, 1e-4f);
  EXPECT_NEAR(actual.y, y, 1e-4f);
  EXPECT_NEAR(actual.z, z, 1e-4f);
}

KV_CAMERA MakeCamera(D3DXVECTOR3 eye, D3DXVECTOR3 target) {
  KV_CAMERA camera;
  camera.SetPosition(eye);
  camera.SetTarget(target);
  return camera;
}

}  // namespace

TEST(Camera, MovesForwardAndStrafesAlongTheView) {
  KV_CAMERA camera = MakeCamera({0, 5, -10}, {0, 5, -9});
  ExpectNear(camera.GetDirection(), 0, 0, 1);
  camera.MoveForward(0.25f);
  ExpectNear(camera.GetPosition(), 0, 5, -9.75f);
  ExpectNear(camera.GetTarget(), 0, 5, -8.75f);
  camera.Strafe(0.25f);
  ExpectNear(camera.GetPosition(), 0.25f, 5, -9.75f);
  ExpectNear(camera.GetTarget(), 0.25f, 5, -8.75f);
  camera.Strafe(-0.5f);
  ExpectNear(camera.GetPosition(), -0.25f, 5, -9.75f);
}

TEST(Camera, RaisedTargetClimbsForwardAndStrafesShort) {
  KV_CAMERA camera = MakeCamera({0, 0, 0}, {0, 0.6f, 0.8f});
  camera.MoveForward(1);
  ExpectNear(camera.GetPosition(), 0, 0.6f, 0.8f);
  ExpectNear(camera.GetTarget(), 0, 1.2f, 1.6f);
  camera.Strafe(1);  // up x (0, 0.6, 0.8) = (0.8, 0, 0)
  ExpectNear(camera.GetPosition(), 0.8f, 0.6f, 0.8f);
  ExpectNear(camera.GetTarget(), 0.8f, 1.2f, 1.6f);
}

TEST(Camera, FirstTurnDiscardsTheSetTarget) {
  KV_CAMERA camera = MakeCamera({2, 2, -5}, {0, 5, -9});
  camera.Turn(2);
  EXPECT_FLOAT_EQ(camera.heading, 0.034906585f);
  // 2 * sin(0.0349066) = 0.0697990, 2 * cos(0.0349066) = 1.9987818
  ExpectNear(camera.GetTarget(), 2.069799f, 2, -3.001218f);
  ExpectNear(camera.GetPosition(), 2, 2, -5);
}

TEST(Camera, TurnRebuildsTargetFromHeading) {
  KV_CAMERA camera = MakeCamera({1, 3, 1}, {5, 9, 5});
  camera.Turn(0);  // not a no-op: heading 0 puts the target 2 ahead along +z
  ExpectNear(camera.GetTarget(), 1, 3, 3);
  camera.Turn(90);  // a positive heading turns towards +x
  ExpectNear(camera.GetTarget(), 3, 3, 1);
  camera.Turn(-2);
  camera.Turn(2);
  EXPECT_NEAR(camera.heading, 90 * 0.017453292f, 1e-6f);
  ExpectNear(camera.GetTarget(), 3, 3, 1);
}
