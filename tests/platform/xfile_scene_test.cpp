// The .x reader on small text files: frames, polygons, materials and vertex splitting.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "platform/xfile/reader.h"

namespace {

KvXMeshData ParseText(const std::string& body) {
  const std::string file = "xof 0303txt 0032\n" + body;
  KvXMeshData mesh;
  std::string error;
  EXPECT_TRUE(
      KvParseXFile(reinterpret_cast<const std::uint8_t*>(file.data()), file.size(), mesh, &error))
      << error;
  return mesh;
}

// x, y, z from `vertex` on: one vertex's or, with more values, those of the next ones too.
void ExpectVec3(const std::vector<float>& values, std::size_t vertex,
                const std::vector<float>& expected) {
  ASSERT_LE(3 * vertex + expected.size(), values.size());
  for (std::size_t i = 0; i < expected.size(); ++i) {
    EXPECT_NEAR(values[3 * vertex + i], expected[i], 1e-5) << "vertex " << vertex + i / 3;
  }
}

// Diffuse, ambient, specular and emissive (r, g, b, a each), then power.
std::vector<float> Fields(const D3DMATERIAL9& material) {
  static_assert(sizeof material == 17 * sizeof(float));
  std::vector<float> fields(17);
  std::memcpy(fields.data(), &material, sizeof material);
  return fields;
}

const char kTriangle[] = "3; 1;0;0;, 0;1;0;, 0;0;1;; 1; 3;0,1,2;;";

TEST(XFileScene, NestedFramesApplyChildTransformFirst) {
  const KvXMeshData mesh = ParseText(std::string(R"(
    Frame Outer {
      FrameTransformMatrix { 1,0,0,0, 0,1,0,0, 0,0,1,0, 10,0,0,1;; }
      Frame Inner {
        FrameTransformMatrix { 0,2,0,0, -2,0,0,0, 0,0,2,0, 0,0,0,1;; }
        Mesh { )") + kTriangle + R"(
          MeshNormals { 1; 1;0;0;; 1; 3;0,0,0;; }
        }
      }
    }
    Mesh Loose { )" + kTriangle + "}");
  // Inner scales by 2 and turns x onto y; Outer then moves by 10 along x. The normal is turned,
  // renormalised, not moved. A mesh outside any frame is taken as it is, with zero normals.
  ASSERT_EQ(mesh.VertexCount(), 6u);
  ExpectVec3(mesh.positions, 0, {10, 2, 0, 8, 0, 0, 10, 0, 2, 1, 0, 0, 0, 1, 0, 0, 0, 1});
  ExpectVec3(mesh.normals, 0, {0, 1, 0, 0, 1, 0, 0, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0});
  EXPECT_EQ(mesh.FaceCount(), 2u);
}

TEST(XFileScene, PolygonsSplitAsFansFromTheirFirstCorner) {
  const KvXMeshData mesh = ParseText(R"(
    Mesh { 9; 0;0;0;, 1;0;0;, 1;1;0;, 0;1;0;, 5;0;0;, 6;0;0;, 6;1;0;, 5;2;0;, 4;1;0;;
      2; 4;0,1,2,3;, 5;4,5,6,7,8;; })");
  const std::vector<std::uint32_t> expected = {0, 1, 2, 0, 2, 3, 4, 5, 6, 4, 6, 7, 4, 7, 8};
  EXPECT_EQ(mesh.indices, expected);
  EXPECT_EQ(mesh.attributes, std::vector<std::uint32_t>(5, 0));
}

TEST(XFileScene, MaterialsNumberAcrossMeshesAndResolveReferences) {
  const KvXMeshData mesh = ParseText(std::string(R"(
    Material Red {
      1;0;0;0.5;; 8; 0.25;0.5;0.75;; 0.1;0.2;0.3;;
      TextureFilename { "dir\\red \"1\".png"; }
    }
    Mesh First { 3; 0;0;0;, 1;0;0;, 0;1;0;; 2; 3;0,1,2;, 3;0,2,1;;
      MeshMaterialList { 2; 1; 1;;
        Material { 0;1;0;1;; 1; 0;0;0;; 0;0;0;; }
        { Red }
      }
    }
    Mesh Second { 3; 0;0;0;, 1;0;0;, 0;1;0;; 2; 3;0,1,2;, 3;0,2,1;;
      MeshMaterialList { 1; 2; 0,0;; {Red} }
    }
    Mesh Third { )") + kTriangle + "}");
  // First repeats its only index; Second starts after First's two materials; Third has the
  // default material.
  EXPECT_EQ(mesh.attributes, (std::vector<std::uint32_t>{1, 1, 2, 2, 3}));
  ASSERT_EQ(mesh.materials.size(), 4u);
  const std::vector<float> red = {
      1,     0,    0,     0.5f, 0,    0,    0,    0,  // diffuse, ambient
      0.25f, 0.5f, 0.75f, 1,    0.1f, 0.2f, 0.3f, 1, 8};
  for (int i : {1, 2}) {
    EXPECT_EQ(Fields(mesh.materials[i].material), red);
    EXPECT_TRUE(mesh.materials[i].hasTexture);
    EXPECT_EQ(mesh.materials[i].textureName, "dir\\red \"1\".png");
  }
  EXPECT_EQ(Fields(mesh.materials[0].material),
            (std::vector<float>{0, 1, 0, 1, 0, 0, 0, 0, 0, 0, 0, 1, 0, 0, 0, 1, 1}));
  EXPECT_EQ(Fields(mesh.materials[3].material),                   // the default
            (std::vector<float>{0.5f, 0.5f, 0.5f, 0, 0, 0, 0, 0,  // diffuse, ambient
                                0.5f, 0.5f, 0.5f, 0, 0, 0, 0, 0, 0}));
  EXPECT_FALSE(mesh.materials[0].hasTexture || mesh.materials[3].hasTexture);
}

TEST(XFileScene, NormalsSplitASharedCornerAndOtherMeshesGetDefaults) {
  const KvXMeshData mesh = ParseText(std::string(R"(
    Mesh Corner { 4; 0;0;0;, 1;0;0;, 0;1;0;, 0;0;1;;
      4; 3;0,1,2;, 3;0,2,3;, 3;0,3,1;, 3;0,1,2;;
      MeshNormals { 3; 0;0;1;, 1;0;0;, 0;1;0;; 4; 3;0,0,0;, 3;1,1,1;, 3;2,2,2;, 3;0,0,0;; }
      MeshTextureCoords { 4; 0;0;, 0.25;0;, 0.5;0;, 0.75;0;; }
      MeshVertexColors { 1; 3;1;0;0;1;;; }
    }
    Mesh Plain { )") + kTriangle + "}");
  // Position 0 meets three normals: three vertices. The repeated face reuses its vertices.
  ASSERT_EQ(mesh.VertexCount(), 9u + 3u);
  ExpectVec3(mesh.normals, 0, {0, 0, 1});
  ExpectVec3(mesh.normals, 3, {1, 0, 0});
  ExpectVec3(mesh.normals, 6, {0, 1, 0});
  for (std::size_t v : {0u, 3u, 6u}) ExpectVec3(mesh.positions, v, {0, 0, 0});
  EXPECT_EQ(std::vector<std::uint32_t>(mesh.indices.begin() + 9, mesh.indices.begin() + 12),
            std::vector<std::uint32_t>(mesh.indices.begin(), mesh.indices.begin() + 3));
  // Coordinates and colours follow the position: vertex 5 is position 3 with normal 1.
  ExpectVec3(mesh.positions, 5, {0, 0, 1});
  EXPECT_FLOAT_EQ(mesh.texcoords[2 * 5], 0.75f);
  EXPECT_EQ(mesh.colors[5], 0xFFFF0000u);
  EXPECT_EQ(mesh.colors[4], 0xFFFFFFFFu);
  // The mesh without normals, coordinates or colours gets zeros and white.
  ExpectVec3(mesh.normals, 10, {0, 0, 0});
  EXPECT_FLOAT_EQ(mesh.texcoords[2 * 10], 0);
  EXPECT_EQ(mesh.colors[10], 0xFFFFFFFFu);
}

}  // namespace
