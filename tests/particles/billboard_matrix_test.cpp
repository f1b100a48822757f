#include <gtest/gtest.h>

#include <cmath>
#include <memory>

#include "particles/billboard_vertex.h"
#include "particles/fire_emitter.h"
#include "tests/support/recording_device.h"

namespace {

class BillboardMatrix : public testing::Test {
 protected:
  void SetUp() override {
    emitter_ = std::make_unique<KV_FIRE_EMITTER>(&device_, "absent.png", 0, 1);
    Place({0, 0, 0}, {1, 1, 1}, 0.0f);
  }

  void Place(D3DXVECTOR3 position, D3DXVECTOR3 scale, float roll) {
    emitter_->particles[0].position = position;
    emitter_->particles[0].scale = scale;
    emitter_->rollAngle = roll;
  }

  D3DXMATRIX From(float x, float y, float z) {
    emitter_->SetCameraPosition(x, y, z);
    return emitter_->BuildBillboardMatrix(0);
  }

  // With unit scale and no roll the matrix is Ry(yaw) x T: row 0 is (cos, 0, -sin).
  static float Yaw(const D3DXMATRIX& m) { return std::atan2(-m._13, m._11); }

  // Normal of the first triangle after the transform: the way the front face looks.
  static D3DXVECTOR3 FrontNormal(const D3DXMATRIX& m) {
    D3DXVECTOR3 corner[3];
    for (int i = 0; i < 3; ++i) {
      const D3DXVECTOR3 local(kBillboardQuad[i].x, kBillboardQuad[i].y, kBillboardQuad[i].z);
      D3DXVec3TransformCoord(&corner[i], &local, &m);
    }
    const D3DXVECTOR3 a = corner[1] - corner[0];
    const D3DXVECTOR3 b = corner[2] - corner[0];
    D3DXVECTOR3 normal;
    D3DXVec3Cross(&normal, &a, &b);
    return normal;
  }

  KvRecordingDevice device_;
  std::unique_ptr<KV_FIRE_EMITTER> emitter_;
};

bool AllFinite(const D3DXMATRIX& m) {
  for (const auto& row : m.m) {
    for (float value : row) {
      if (!std::isfinite(value)) return false;
    }
  }
  return true;
}

}  // namespace

TEST_F(BillboardMatrix, YawSignFollowsTheCameraSide) {
  EXPECT_EQ(Yaw(From(0, 0, -5)), 0.0f);  // straight in front: no turn
  const D3DXMATRIX behind = From(0, 0, 5);
  D3DXMATRIX minusPi;
  D3DXMatrixRotationY(&minusPi, -std::acos(-1.0f));
  EXPECT_EQ(behind._11, minusPi._11);
  EXPECT_EQ(behind._13, minusPi._13);     // -pi, not +pi: level in x takes the negative sign
  EXPECT_LT(Yaw(From(3, 0, -1)), 0.0f);   // particle left of the camera
  EXPECT_GT(Yaw(From(-3, 0, -1)), 0.0f);  // particle right of the camera
  EXPECT_NEAR(Yaw(From(-3, 0, 0)), M_PI / 2, 1e-6);
}

TEST_F(BillboardMatrix, FrontFaceLooksAtTheCameraFromEverySide) {
  Place({2, 1, -4}, {1.5f, 2.5f, 1}, 0.7f);
  for (int step = 0; step < 16; ++step) {
    const float angle = static_cast<float>(step * M_PI / 8);
    const D3DXVECTOR3 camera(2 + 10 * std::sin(angle), 6, -4 - 10 * std::cos(angle));
    const D3DXVECTOR3 normal = FrontNormal(From(camera.x, camera.y, camera.z));
    const D3DXVECTOR3 toCamera(camera.x - 2, 0, camera.z + 4);
    const float cosine =
        D3DXVec3Dot(&normal, &toCamera) / (D3DXVec3Length(&normal) * D3DXVec3Length(&toCamera));
    EXPECT_GT(cosine, 0.9999f) << "step " << step;
  }
}

TEST_F(BillboardMatrix, CameraHeightNeverTiltsTheQuad) {
  Place({1, 2, 3}, {1, 1, 1}, 0.0f);
  const D3DXMATRIX level = From(-4, 2, 9);
  const D3DXMATRIX above = From(-4, 40, 9);
  for (int row = 0; row < 4; ++row) {
    for (int column = 0; column < 4; ++column)
      EXPECT_EQ(level.m[row][column], above.m[row][column]);
  }
  EXPECT_EQ(above._21, 0.0f);
  EXPECT_EQ(above._22, 1.0f);
  EXPECT_EQ(above._23, 0.0f);
}

TEST_F(BillboardMatrix, CameraStraightAboveOrNearlySoGivesAFiniteMatrix) {
  Place({1, 2, 3}, {2, 2, 2}, 0.3f);
  const D3DXMATRIX above = From(1, 50, 3);
  EXPECT_TRUE(AllFinite(above));
  EXPECT_EQ(Yaw(From(1, -50, 3)), Yaw(above));
  Place({0, 0, 0}, {1, 1, 1}, 0.0f);
  EXPECT_EQ(Yaw(From(0, 50, 0)), 0.0f);
  for (float tiny : {1e-30f, 1e-38f, 1e-45f, 1e-20f, 3e-8f}) {
    EXPECT_TRUE(AllFinite(From(tiny, 5, 0))) << tiny;
    EXPECT_TRUE(AllFinite(From(0, 5, -tiny))) << tiny;
    EXPECT_TRUE(AllFinite(From(tiny, 5, 1))) << tiny;
    EXPECT_TRUE(AllFinite(From(-tiny, 5, -1))) << tiny;
  }
}
