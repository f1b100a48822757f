// Models on a recording device: loading with textures per subset, drawing, placement and the
// world matrix.
#include <gtest/gtest.h>

#include <cmath>

#include "scene/model.h"
#include "tests/support/fault_checks.h"
#include "tests/support/image_files.h"
#include "tests/support/recording_device.h"
#include "tests/support/x_files.h"

namespace {

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
  KvWriteMaterialsX(folder.Path("three.x"), {"a.bmp", "missing.bmp", "c.bmp"});
  KvRecordingDevice device;
  {
    KV_MODEL model(&device);
    model.Load("three.x");  // names without a folder resolve in the working directory
    ASSERT_NE(model.GetMesh(), nullptr);
    ASSERT_EQ(model.materialCount, 3u);
    EXPECT_EQ(model.materialBuffer, nullptr);  // released once the textures exist
    model.Render(D3DCULL_CW);
    ASSERT_EQ(device.draws.size(), 3u);
    for (int i = 0; i < 3; ++i) {
      EXPECT_EQ(model.textures[i] != nullptr, i != 1) << i;
      EXPECT_EQ(std::pair(device.draws[i].primitiveCount, device.draws[i].texture),
                std::pair(1u, static_cast<IDirect3DBaseTexture9*>(model.textures[i])));
    }
  }
  EXPECT_EQ(std::pair(device.liveResources, device.RefCount()), std::pair(0, 1u));
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
