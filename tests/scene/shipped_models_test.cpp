// The shipped meshes load through the mesh loader as the scene loads them, each with a
// texture for every material that names one and a subset for every material.
#include <gtest/gtest.h>

#include "scene/model.h"
#include "tests/support/recording_device.h"

TEST(ShippedModels, LoadWithEverySubsetAndTexture) {
  const struct {
    const char* file;
    DWORD materials;
  } models[] = {{"Data\\X\\environment.x", 3},
                {"Data\\X\\FirePit.x", 2},
                {"Data\\X\\Fountain.x", 2},
                {"Data\\X\\head.x", 2}};
  KvRecordingDevice device;
  for (const auto& expected : models) {
    KV_MODEL model(&device);
    model.Load(expected.file);
    ASSERT_NE(model.GetMesh(), nullptr) << expected.file;
    EXPECT_EQ(model.materialCount, expected.materials) << expected.file;
    DWORD subsets = 0;
    model.GetMesh()->GetAttributeTable(nullptr, &subsets);
    EXPECT_EQ(subsets, expected.materials) << expected.file;
    int textured = 0;
    for (DWORD i = 0; i < model.materialCount; ++i) textured += model.textures[i] != nullptr;
    EXPECT_GE(textured, 1) << expected.file;
    EXPECT_NE(model.GetMesh()->GetFVF() & D3DFVF_DIFFUSE, 0u) << "no baked shading";
  }
}
