// The .x reader on real files written by other tools, in every encoding.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <tuple>

#include "platform/xfile/reader.h"

namespace {

const std::string kDir = KV_SHARED_TESTDATA "/x/";

KvXMeshData Load(const std::string& name) {
  KvXMeshData mesh;
  std::string error;
  EXPECT_TRUE(KvReadXFile((kDir + name).c_str(), mesh, &error)) << name << ": " << error;
  return mesh;
}

class XFileTestData : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!std::filesystem::is_directory(kDir)) GTEST_SKIP() << "no shared .x files in " << kDir;
  }
};

TEST_F(XFileTestData, EveryFileLoadsWithTheCountsItDeclaresAndTheCubesAgree) {
  const std::tuple<const char*, std::size_t, std::size_t> expected[] = {
      {"test.x", 12, 1},
      {"test_cube_text.x", 12, 1},
      {"test_cube_binary.x", 12, 1},
      {"test_cube_compressed.x", 12, 1},
      {"kwxport_test_cubewithvcolors.x", 12, 3},
      {"fromtruespace_bin32.x", 6656, 1},
  };
  for (const auto& [file, faces, materials] : expected) {
    const KvXMeshData mesh = Load(file);
    EXPECT_EQ(mesh.FaceCount(), faces) << file;
    EXPECT_EQ(mesh.materials.size(), materials) << file;
    EXPECT_EQ(mesh.attributes.size(), faces) << file;
  }
  const KvXMeshData text = Load("test_cube_text.x");
  // The root frame swaps y and z, so the first vertex (-1, -1, 1) lands at (-1, 1, -1).
  ASSERT_EQ(text.VertexCount(), 24u);
  EXPECT_FLOAT_EQ(text.positions[1], 1.0f);
  EXPECT_FLOAT_EQ(text.positions[2], -1.0f);
  for (const char* other : {"test_cube_binary.x", "test_cube_compressed.x"}) {
    const KvXMeshData mesh = Load(other);
    ASSERT_EQ(mesh.positions.size(), text.positions.size()) << other;
    for (std::size_t i = 0; i < text.positions.size(); ++i) {
      EXPECT_NEAR(mesh.positions[i], text.positions[i], 1e-6) << other << " " << i;
    }
    EXPECT_EQ(mesh.indices, text.indices) << other;
    const D3DMATERIAL9& a = mesh.materials.at(0).material;
    const D3DMATERIAL9& b = text.materials[0].material;
    EXPECT_NEAR(a.Diffuse.r, b.Diffuse.r, 1e-6) << other;
    EXPECT_NEAR(a.Power, b.Power, 1e-4) << other;
    EXPECT_NEAR(a.Specular.g, b.Specular.g, 1e-6) << other;
  }
}

TEST_F(XFileTestData, VertexColoursAndThreeMaterials) {
  const KvXMeshData mesh = Load("kwxport_test_cubewithvcolors.x");
  ASSERT_EQ(mesh.colors.size(), mesh.VertexCount());
  EXPECT_EQ(mesh.colors[0], 0xFFFF0000u);  // vertex 0 is red
  for (auto [colour, count] : {std::pair{0xFFFF0000u, 6}, {0xFF00FF00u, 6}, {0xFFFFFFFFu, 12}}) {
    EXPECT_EQ(std::count(mesh.colors.begin(), mesh.colors.end(), colour), count) << colour;
  }
  for (std::uint32_t material = 0; material < 3; ++material) {
    EXPECT_EQ(std::count(mesh.attributes.begin(), mesh.attributes.end(), material),
              material == 2 ? 8 : 2);
  }
  EXPECT_TRUE(mesh.materials[1].textureName.ends_with("\\test\\data\\top.tga"));  // as written
}

}  // namespace
