// The billboard matrix of one fire particle: its quad's front face turns to the camera from
// every side without tilting, and a camera straight above it or nearly so gives a finite matrix.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "particles/billboard_vertex.h"
#include "particles/fire_emitter.h"
#include "tests/support/recording_device.h"

namespace {

struct Billboard {
  Billboard(D3DXVECTOR3 position, D3DXVECTOR3 scale, float roll) {
    emitter.particles[0].position = position;
    emitter.particles[0].scale = scale;
    emitter.rollAngle = roll;
  }
  D3DXMATRIX From(float x, float y, float z) {
    emitter.SetCameraPosition(x, y, z);
    return emitter.BuildBillboardMatrix(0);
  }

  KvRecordingDevice device;
  KV_FIRE_EMITTER emitter{&device, "absent.png", 0, 1};
};

// Normal of the quad's first triangle after the transform: the way the front face looks.
D3DXVECTOR3 FrontNormal(const D3DXMATRIX& m) {
  D3DXVECTOR3 c[3], normal;
  for (int i = 0; i < 3; ++i) {
    const D3DXVECTOR3 local(kBillboardQuad[i].x, kBillboardQuad[i].y, kBillboardQuad[i].z);
    D3DXVec3TransformCoord(&c[i], &local, &m);
  }
  const D3DXVECTOR3 a = c[1] - c[0], b = c[2] - c[0];
  return *D3DXVec3Cross(&normal, &a, &b);
}

bool AllFinite(const D3DXMATRIX& m) {
  return std::all_of(&m._11, &m._11 + 16, [](float v) { return std::isfinite(v); });
}

}  // namespace

// The camera is above the particle, yet the front face looks level at it: the quad never tilts.
TEST(BillboardMatrix, FrontFaceLooksAtTheCameraFromEverySide) {
  Billboard billboard({2, 1, -4}, {1.5f, 2.5f, 1}, 0.7f);
  for (int step = 0; step < 16; ++step) {
    const float angle = static_cast<float>(step * M_PI / 8);
    const D3DXVECTOR3 camera(2 + 10 * std::sin(angle), 6, -4 - 10 * std::cos(angle));
    const D3DXVECTOR3 normal = FrontNormal(billboard.From(camera.x, camera.y, camera.z));
    const D3DXVECTOR3 toCamera(camera.x - 2, 0, camera.z + 4);
    const float cosine =
        D3DXVec3Dot(&normal, &toCamera) / (D3DXVec3Length(&normal) * D3DXVec3Length(&toCamera));
    EXPECT_GT(cosine, 0.9999f) << "step " << step;
  }
}

TEST(BillboardMatrix, CameraStraightAboveOrNearlySoGivesAFiniteMatrix) {
  Billboard billboard({0, 0, 0}, {2, 2, 2}, 0.3f);
  EXPECT_TRUE(AllFinite(billboard.From(0, 50, 0)) && AllFinite(billboard.From(0, -50, 0)));
  for (float tiny : {1e-30f, 1e-38f, 1e-45f, 1e-20f, 3e-8f})
    EXPECT_TRUE(AllFinite(billboard.From(tiny, 5, 0)) && AllFinite(billboard.From(0, 5, -tiny)) &&
                AllFinite(billboard.From(tiny, 5, 1)) && AllFinite(billboard.From(-tiny, 5, -1)))
        << tiny;
}
