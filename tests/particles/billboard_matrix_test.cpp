#include <gtest/gtest.h>

#include <algorithm>
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
    D3DXVECTOR3 c[3], normal;
    for (int i = 0; i < 3; ++i) {
      const D3DXVECTOR3 local(kBillboardQuad[i].x, kBillboardQuad[i].y, kBillboardQuad[i].z);
      D3DXVec3TransformCoord(&c[i], &local, &m);
    }
    const D3DXVECTOR3 a = c[1] - c[0], b = c[2] - c[0];
    return *D3DXVec3Cross(&normal, &a, &b);
  }

  KvRecordingDevice device_;
  std::unique_ptr<KV_FIRE_EMITTER> emitter_;
};

bool AllFinite(const D3DXMATRIX& m) {
  return std::all_of(&m._11, &m._11 + 16, [](float v) { return std::isfinite(v); });
}

}  // namespace

TEST_F(BillboardMatrix, YawSignFollowsTheCameraSide) {
  EXPECT_EQ(Yaw(From(0, 0, -5)), 0.0f);  // straight in front: no turn
  D3DXMATRIX minusPi;  // straight behind: -pi, not +pi, since level in x takes the negative sign
  D3DXMatrixRotationY(&minusPi, -std::acos(-1.0f));
  EXPECT_EQ(Yaw(From(0, 0, 5)), Yaw(minusPi));
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
  const D3DXMATRIX above = From(-4, 40, 9);
  EXPECT_EQ(above, From(-4, 2, 9));
  EXPECT_EQ(D3DXVECTOR3(above._21, above._22, above._23), D3DXVECTOR3(0, 1, 0));
}

TEST_F(BillboardMatrix, CameraStraightAboveOrNearlySoGivesAFiniteMatrix) {
  Place({1, 2, 3}, {2, 2, 2}, 0.3f);
  const D3DXMATRIX above = From(1, 50, 3);
  EXPECT_TRUE(AllFinite(above));
  EXPECT_EQ(Yaw(From(1, -50, 3)), Yaw(above));
  Place({0, 0, 0}, {1, 1, 1}, 0.0f);
  EXPECT_EQ(Yaw(From(0, 50, 0)), 0.0f);
  for (float tiny : {1e-30f, 1e-38f, 1e-45f, 1e-20f, 3e-8f}) {
    EXPECT_TRUE(AllFinite(From(tiny, 5, 0)) && AllFinite(From(0, 5, -tiny)) &&
                AllFinite(From(tiny, 5, 1)) && AllFinite(From(-tiny, 5, -1)))
        << tiny;
  }
}
