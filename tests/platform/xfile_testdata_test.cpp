// The .x reader on real files written by other tools, in every encoding.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>

#include "platform/xfile_reader.h"

namespace {

const std::string kDir = KV_SHARED_TESTDATA "/x/";

#define KV_REQUIRE_XFILE_DATA()                                         \
  if (!std::filesystem::is_directory(kDir)) {                           \
    GTEST_SKIP() << "the shared .x test files are not there: " << kDir; \
  }

KvXMeshData Load(const std::string& name) {
  KvXMeshData mesh;
  std::string error;
  EXPECT_TRUE(KvReadXFile((kDir + name).c_str(), mesh, &error)) << name << ": " << error;
  return mesh;
}

TEST(XFileTestData, EveryFileLoadsWithTheCountsItDeclares) {
  KV_REQUIRE_XFILE_DATA();
  struct Expected {
    const char* file;
    std::size_t faces;
    std::size_t materials;
  };
  const Expected expected[] = {
      {"test.x", 12, 1},
      {"test_cube_text.x", 12, 1},
      {"test_cube_binary.x", 12, 1},
      {"test_cube_compressed.x", 12, 1},
      {"kwxport_test_cubewithvcolors.x", 12, 3},
      {"fromtruespace_bin32.x", 6656, 1},
  };
  for (const Expected& e : expected) {
    const KvXMeshData mesh = Load(e.file);
    EXPECT_EQ(mesh.FaceCount(), e.faces) << e.file;
    EXPECT_EQ(mesh.materials.size(), e.materials) << e.file;
    EXPECT_EQ(mesh.attributes.size(), e.faces) << e.file;
  }
}

TEST(XFileTestData, TextBinaryAndCompressedCubesAgree) {
  KV_REQUIRE_XFILE_DATA();
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
    ASSERT_EQ(mesh.materials.size(), 1u) << other;
    const D3DMATERIAL9& a = mesh.materials[0].material;
    const D3DMATERIAL9& b = text.materials[0].material;
    EXPECT_NEAR(a.Diffuse.r, b.Diffuse.r, 1e-6) << other;
    EXPECT_NEAR(a.Power, b.Power, 1e-4) << other;
    EXPECT_NEAR(a.Specular.g, b.Specular.g, 1e-6) << other;
  }
}

TEST(XFileTestData, VertexColoursAndThreeMaterials) {
  KV_REQUIRE_XFILE_DATA();
  const KvXMeshData mesh = Load("kwxport_test_cubewithvcolors.x");
  ASSERT_EQ(mesh.colors.size(), mesh.VertexCount());
  EXPECT_EQ(mesh.colors[0], 0xFFFF0000u);  // vertex 0 is red
  EXPECT_EQ(std::count(mesh.colors.begin(), mesh.colors.end(), 0xFFFF0000u), 6);
  EXPECT_EQ(std::count(mesh.colors.begin(), mesh.colors.end(), 0xFF00FF00u), 6);
  EXPECT_EQ(std::count(mesh.colors.begin(), mesh.colors.end(), 0xFFFFFFFFu), 12);
  for (std::uint32_t material = 0; material < 3; ++material) {
    EXPECT_EQ(std::count(mesh.attributes.begin(), mesh.attributes.end(), material),
              material == 2 ? 8 : 2);
  }
  EXPECT_TRUE(mesh.materials[1].textureName.ends_with("\\test\\data\\top.tga"));  // path as written
}

}  // namespace
