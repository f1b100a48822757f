// Models on a recording device: loading with textures per subset, drawing and the states
// left behind, placement and the world matrix.
#include <gtest/gtest.h>

#include <cmath>

#include "scene/model.h"
#include "tests/support/fault_checks.h"
#include "tests/support/image_files.h"
#include "tests/support/recording_device.h"
#include "tests/support/x_files.h"

namespace {

void WriteText(const std::string& path, const std::string& text) {
  KvWriteBytes(path, std::vector<unsigned char>(text.begin(), text.end()));
}

// How far `m` carries `p` from where it should land.
float Miss(const D3DXMATRIX& m, D3DXVECTOR3 p, D3DXVECTOR3 expected) {
  D3DXVec3TransformCoord(&p, &p, &m);
  p -= expected;
  return D3DXVec3Length(&p);
}

}  // namespace

TEST(Model, EachSubsetGetsItsTextureAndAMissingOneStaysNull) {
  KvTempFolder folder;
  KvWorkingFolder inFolder(folder.Path(""));
  KvWriteBmp(folder.Path("a.bmp"), 2, 2, std::vector<DWORD>(4, 0xFF808080));
  KvWriteBmp(folder.Path("c.bmp"), 2, 2, std::vector<DWORD>(4, 0xFF404040));
  WriteText(folder.Path("three.x"), KvMaterialsX({"a.bmp", "missing.bmp", "c.bmp"}));
  KvRecordingDevice device;
  {
    KV_MODEL model(&device);
    model.Load("three.x");  // names without a folder resolve in the working directory
    ASSERT_NE(model.GetMesh(), nullptr);
    ASSERT_EQ(model.materialCount, 3u);
    EXPECT_NE(model.textures[0], nullptr);
    EXPECT_EQ(model.textures[1], nullptr);
    EXPECT_NE(model.textures[2], nullptr);
    EXPECT_EQ(model.materialBuffer, nullptr);  // released once the textures exist
    model.Render(D3DCULL_CW);
    ASSERT_EQ(device.draws.size(), 3u);
    for (int i = 0; i < 3; ++i) {
      EXPECT_EQ(device.draws[i].primitiveCount, 1u);
      EXPECT_EQ(device.draws[i].texture, model.textures[i]);
    }
  }
  EXPECT_EQ(device.LiveResources(), 0);
  EXPECT_EQ(device.RefCount(), 1u);
}

// A mesh without materials draws as one untextured subset; a colour-keyed model leaves the
// alpha test on for what it drew.
TEST(Model, RenderLeavesCullingOffItsWorldMatrixAndTheAlphaTestOnlyWhenKeyed) {
  KvTempFolder folder;
  WriteText(folder.Path("plain.x"), KvFlatSquareX(0, 0, 1, 0));
  KvRecordingDevice device;
  KV_MODEL model(&device);
  model.Load(folder.Path("plain.x").c_str());
  ASSERT_EQ(model.materialCount, 1u);
  EXPECT_EQ(model.textures[0], nullptr);
  model.SetPosition(1, 2, 3);
  model.UpdateWorldMatrix();
  model.Render(D3DCULL_CW);
  EXPECT_EQ(device.draws.size(), 1u);
  EXPECT_EQ(device.RenderState(D3DRS_CULLMODE), DWORD(D3DCULL_NONE));
  EXPECT_EQ(D3DXMATRIX(device.Transform(D3DTS_WORLD)), model.GetWorldMatrix());
  EXPECT_EQ(device.RenderState(D3DRS_ALPHATESTENABLE), DWORD(FALSE));
  model.Render();
  D3DXMATRIX identity;
  EXPECT_EQ(D3DXMATRIX(device.Transform(D3DTS_WORLD)), *D3DXMatrixIdentity(&identity));

  KV_MODEL keyed(&device);
  keyed.LoadWithColorKey(folder.Path("plain.x").c_str(), 0xFF000000);
  EXPECT_TRUE(keyed.colorKeyed);
  keyed.Render(D3DCULL_CCW);
  EXPECT_EQ(device.RenderState(D3DRS_ALPHATESTENABLE), DWORD(TRUE));
  EXPECT_EQ(device.RenderState(D3DRS_ALPHAREF), 0x20u);
  EXPECT_EQ(device.RenderState(D3DRS_ALPHAFUNC), DWORD(D3DCMP_GREATEREQUAL));
  KV_MODEL missing(&device);
  missing.LoadWithColorKey("no such file.x", 0xFF000000);
  EXPECT_FALSE(missing.colorKeyed);
}

// The head's placement in the scene: four times its size, turned 45 degrees about y, its
// origin carried to (11, 17, 17), where the waterfall pours. Turned before it is moved: the
// other way round the turn would swing the head off its cliff.
TEST(Model, TheHeadIsScaledTurnedThenMovedToItsCliff) {
  KvRecordingDevice device;
  KV_MODEL model(&device);
  model.SetPosition(11, 17, 17);
  model.SetRotation(0, 45, 0);
  model.SetScale(4, 4, 4);
  model.UpdateWorldMatrix();
  const float side = 4 * std::sqrt(0.5f);
  EXPECT_LT(Miss(model.GetWorldMatrix(), {0, 0, 0}, {11, 17, 17}), 1e-5f);
  EXPECT_LT(Miss(model.GetWorldMatrix(), {1, 0, 0}, {11 + side, 17, 17 - side}), 1e-5f);
  EXPECT_LT(Miss(model.GetWorldMatrix(), {0, 1, 0}, {11, 21, 17}), 1e-5f);
  // Turned about x before y: (0, 1, 0) tips to +z, then swings to +x.
  model.SetPosition(0, 0, 0);
  model.SetScale(1, 1, 1);
  model.SetRotation(90, 90, 0);
  model.UpdateWorldMatrix();
  EXPECT_LT(Miss(model.GetWorldMatrix(), {0, 1, 0}, {1, 0, 0}), 1e-6f);
  const D3DXMATRIX turned = model.GetWorldMatrix();
  model.SetPosition(5, 5, 5);  // not built until asked
  EXPECT_EQ(model.GetWorldMatrix(), turned);
}
