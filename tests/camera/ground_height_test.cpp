// The ground height probe on small meshes loaded through the environment model.
#include <gtest/gtest.h>

#include "tests/support/image_files.h"
#include "tests/support/scene_on_recorder.h"
#include "tests/support/x_files.h"

namespace {

class GroundHeight : public ::testing::Test {
 protected:
  // Replaces the environment with a flat square at height y around the origin.
  void Ground(float y, float half = 10.0f) {
    const std::string text = KvFlatSquareX(0, 0, half, y);
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

TEST_F(GroundHeight, LowGroundRaisesByTheOffsetAndHighGroundGivesTheOffset) {
  Ground(0.5f);
  EXPECT_FLOAT_EQ(Probe(0, 5, -5, 2.0f), 2.5f);
  Ground(2.5f);
  EXPECT_FLOAT_EQ(Probe(0, 5, -5, 2.0f), 2.0f);
  Ground(-1.0f);
  EXPECT_FLOAT_EQ(Probe(2.5f, 0, 0, 0.0f), -1.0f);
  Ground(0.3f);
  EXPECT_FLOAT_EQ(Probe(2.5f, 0.5f, 0, 0.0f), 0.0f);
}

TEST_F(GroundHeight, MissesGiveTheOffset) {
  Ground(-1.0f, 5.0f);
  EXPECT_EQ(Probe(50, 5, 50, 2.0f), 2.0f);  // outside the mesh
  EXPECT_EQ(Probe(0, -3, 0, 1.0f), 1.0f);   // the surface is above the point
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
