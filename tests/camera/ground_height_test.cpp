// The ground height probe on small meshes loaded through the environment model.
#include <gtest/gtest.h>

#include "tests/support/image_files.h"
#include "tests/support/scene_on_recorder.h"
#include "tests/support/x_files.h"

namespace {

class GroundHeight : public ::testing::Test {
 protected:
  // Replaces the environment with a flat square of side 20 at height y around the origin.
  void Ground(float y) {
    const std::string text = KvFlatSquareX(0, 0, 10, y);
    KvWriteBytes(folder.Path("ground.x"), std::vector<unsigned char>(text.begin(), text.end()));
    KV_APPLICATION& app = *scene.application;
    delete app.environmentModel;
    app.environmentModel = new KV_MODEL(&scene.recorder);
    app.environmentModel->Load(folder.Path("ground.x").c_str());
    app.environmentModel->UpdateWorldMatrix();
    ASSERT_NE(app.environmentModel->GetMesh(), nullptr);
  }
  float Probe(float x, float y, float z, float offset) {
    return scene.application->GroundHeight(D3DXVECTOR3(x, y, z), offset);
  }

  KvTempFolder folder;
  KvSceneOnRecorder scene;
};

}  // namespace

// Ground lower than the offset is added to it; ground as high as the offset, ground above the
// point, no ground under it and no mesh at all give the offset alone.
TEST_F(GroundHeight, ProbesOnFlatGroundAndMisses) {
  const struct {
    float ground, x, y, z, offset, expected;
  } probes[] = {{0.5f, 0, 5, -5, 2, 2.5f},   {2.5f, 0, 5, -5, 2, 2}, {-1, 2.5f, 0, 0, 0, -1},
                {0.3f, 2.5f, 0.5f, 0, 0, 0}, {-1, 50, 5, 50, 2, 2},  {-1, 0, -3, 0, 1, 1}};
  for (const auto& p : probes) {
    Ground(p.ground);
    EXPECT_FLOAT_EQ(Probe(p.x, p.y, p.z, p.offset), p.expected) << p.ground << " at " << p.x;
  }
  delete scene.application->environmentModel;
  scene.application->environmentModel = new KV_MODEL(&scene.recorder);  // no mesh
  EXPECT_EQ(Probe(0, 5, 0, 2.0f), 2.0f);
}

TEST_F(GroundHeight, TheSceneStepPutsEyeTargetAndModelsOnTheGround) {
  Ground(-0.5f);
  KV_APPLICATION& app = *scene.application;
  app.UpdateScene();
  EXPECT_FLOAT_EQ(app.camera1->GetPosition().y, 1.5f);
  EXPECT_FLOAT_EQ(app.camera1->GetTarget().y, 1.5f);
  EXPECT_FLOAT_EQ(app.firePitModel->GetPosition().y, -0.5f);
  EXPECT_FLOAT_EQ(app.fountainModel->GetPosition().y, 0.5f);
  EXPECT_EQ(app.fireEmitter->position, app.firePitModel->GetPosition());
  EXPECT_EQ(app.fountainEmitter->position, app.fountainModel->GetPosition());
  EXPECT_FLOAT_EQ(app.camera2->GetPosition().y, 2.0f);  // the inactive camera is not touched
}
