// The ground probe on a flat 20 × 20 environment: ground lower than the offset is added to it;
// ground as high as the offset, above the point or absent gives the offset alone.
#include <gtest/gtest.h>

#include "tests/support/image_files.h"
#include "tests/support/scene_on_recorder.h"
#include "tests/support/x_files.h"

TEST(GroundHeight, ProbesOnFlatGroundAndMisses) {
  const struct {
    float ground, x, y, z, offset, expected;
  } probes[] = {{0.5f, 0, 5, -5, 2, 2.5f},   {2.5f, 0, 5, -5, 2, 2}, {-1, 2.5f, 0, 0, 0, -1},
                {0.3f, 2.5f, 0.5f, 0, 0, 0}, {-1, 50, 5, 50, 2, 2},  {-1, 0, -3, 0, 1, 1}};
  KvTempFolder folder;
  KvSceneOnRecorder scene;
  KV_APPLICATION& app = *scene.application;
  for (const auto& p : probes) {
    KvWriteGroundX(folder.Path("ground.x"), p.ground);
    delete app.environmentModel;
    app.environmentModel = new KV_MODEL(&scene.recorder);
    app.environmentModel->Load(folder.Path("ground.x").c_str());
    app.environmentModel->UpdateWorldMatrix();
    ASSERT_NE(app.environmentModel->GetMesh(), nullptr);
    EXPECT_FLOAT_EQ(app.GroundHeight(D3DXVECTOR3(p.x, p.y, p.z), p.offset), p.expected)
        << p.ground << " at " << p.x;
  }
}
