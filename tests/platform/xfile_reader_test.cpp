// The .x reader on files written by other tools, in every encoding, and on small ones written
// here: frames, polygons, materials, vertex splitting, 64-bit binary floats, multi-block zip.
#include <gtest/gtest.h>
#include <zlib.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <tuple>
#include <vector>

#include "platform/xfile/reader.h"

namespace {

const std::string kDir = KV_SHARED_TESTDATA "/x/";

KvXMeshData Parse(const std::string& file, bool text = true) {
  const std::string bytes = text ? "xof 0303txt 0032\n" + file : file;
  KvXMeshData mesh;
  EXPECT_TRUE(
      KvParseXFile(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size(), mesh));
  return mesh;
}

KvXMeshData Load(const std::string& name) {
  KvXMeshData mesh;
  EXPECT_TRUE(KvReadXFile((kDir + name).c_str(), mesh)) << name;
  return mesh;
}

// Diffuse, ambient, specular and emissive (r, g, b, a each), then power.
std::vector<float> Fields(const D3DMATERIAL9& material) {
  const float* first = &material.Diffuse.r;
  return std::vector<float>(first, first + 17);
}

// The three values of one vertex in a per-vertex array of x, y, z.
std::vector<float> At(const std::vector<float>& values, std::size_t vertex) {
  return std::vector<float>(values.begin() + 3 * vertex, values.begin() + 3 * vertex + 3);
}

const std::string kTriangle = "3; 1;0;0;, 0;1;0;, 0;0;1;; 1; 3;0,1,2;;";

}  // namespace

TEST(XFileTestData, FilesLoadWithTheirCountsTheCubesAgreeAndColoursLandOnTheirVertices) {
  if (!std::filesystem::is_directory(kDir)) GTEST_SKIP() << "no shared .x files in " << kDir;
  EXPECT_EQ(Load("test.x").FaceCount(), 12u);
  EXPECT_EQ(Load("fromtruespace_bin32.x").FaceCount(), 6656u);
  const KvXMeshData text = Load("test_cube_text.x");
  // The root frame swaps y and z, so the first vertex (-1, -1, 1) lands at (-1, 1, -1).
  ASSERT_EQ(text.VertexCount(), 24u);
  EXPECT_EQ(At(text.positions, 0), (std::vector<float>{-1, 1, -1}));
  for (const char* other : {"test_cube_binary.x", "test_cube_compressed.x"}) {
    const KvXMeshData mesh = Load(other);
    EXPECT_EQ(mesh.positions, text.positions) << other;
    EXPECT_EQ(mesh.indices, text.indices) << other;
    const std::vector<float> a = Fields(mesh.materials.at(0).material),
                             b = Fields(text.materials[0].material);
    for (int i = 0; i < 17; ++i) EXPECT_NEAR(a[i], b[i], 1e-4) << other << " material field " << i;
  }
  const KvXMeshData coloured = Load("kwxport_test_cubewithvcolors.x");
  ASSERT_EQ(coloured.colors.size(), coloured.VertexCount());
  EXPECT_EQ(coloured.colors[0], 0xFFFF0000u);  // vertex 0 is red
  for (auto [colour, count] : {std::pair{0xFFFF0000u, 6}, {0xFF00FF00u, 6}, {0xFFFFFFFFu, 12}})
    EXPECT_EQ(std::count(coloured.colors.begin(), coloured.colors.end(), colour), count);
  std::vector<int> faces(3);  // per material
  for (std::uint32_t material : coloured.attributes) ++faces.at(material);
  EXPECT_EQ(faces, (std::vector<int>{2, 2, 8}));
}

// Inner scales by 2 and turns x onto y; Outer then moves by 10 along x. The normal is turned,
// renormalised, not moved. A mesh outside any frame is taken as it is, with zero normals.
// Polygons split as fans from their first corner.
TEST(XFileScene, NestedFramesApplyTheChildFirstAndPolygonsSplitAsFans) {
  const KvXMeshData mesh = Parse(R"(
    Frame Outer {
      FrameTransformMatrix { 1,0,0,0, 0,1,0,0, 0,0,1,0, 10,0,0,1;; }
      Frame Inner {
        FrameTransformMatrix { 0,2,0,0, -2,0,0,0, 0,0,2,0, 0,0,0,1;; }
        Mesh { )" + kTriangle + R"( MeshNormals { 1; 1;0;0;; 1; 3;0,0,0;; } }
      }
    }
    Mesh Loose { )" + kTriangle + "}");
  EXPECT_EQ(mesh.positions,
            (std::vector<float>{10, 2, 0, 8, 0, 0, 10, 0, 2, 1, 0, 0, 0, 1, 0, 0, 0, 1}));
  EXPECT_EQ(mesh.normals,
            (std::vector<float>{0, 1, 0, 0, 1, 0, 0, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}));
  const KvXMeshData polygons = Parse(R"(
    Mesh { 9; 0;0;0;, 1;0;0;, 1;1;0;, 0;1;0;, 5;0;0;, 6;0;0;, 6;1;0;, 5;2;0;, 4;1;0;;
      2; 4;0,1,2,3;, 5;4,5,6,7,8;; })");
  EXPECT_EQ(polygons.indices,
            (std::vector<std::uint32_t>{0, 1, 2, 0, 2, 3, 4, 5, 6, 4, 6, 7, 4, 7, 8}));
  EXPECT_EQ(polygons.attributes, std::vector<std::uint32_t>(5, 0));
}

// First repeats its only index; Second starts after First's two materials; Third has the
// default material.
TEST(XFileScene, MaterialsNumberAcrossMeshesAndResolveReferences) {
  const KvXMeshData mesh = Parse(R"(
    Material Red {
      1;0;0;0.5;; 8; 0.25;0.5;0.75;; 0.1;0.2;0.3;;
      TextureFilename { "dir\\red \"1\".png"; }
    }
    Mesh First { 3; 0;0;0;, 1;0;0;, 0;1;0;; 2; 3;0,1,2;, 3;0,2,1;;
      MeshMaterialList { 2; 1; 1;; Material { 0;1;0;1;; 1; 0;0;0;; 0;0;0;; } { Red } }
    }
    Mesh Second { 3; 0;0;0;, 1;0;0;, 0;1;0;; 2; 3;0,1,2;, 3;0,2,1;;
      MeshMaterialList { 1; 2; 0,0;; {Red} }
    }
    Mesh Third { )" + kTriangle + "}");
  EXPECT_EQ(mesh.attributes, (std::vector<std::uint32_t>{1, 1, 2, 2, 3}));
  ASSERT_EQ(mesh.materials.size(), 4u);
  const std::vector<float> red = {1,    0,     0, 0.5f, 0,    0,    0, 0, 0.25f,
                                  0.5f, 0.75f, 1, 0.1f, 0.2f, 0.3f, 1, 8};
  const std::vector<float> fields[] = {
      {0, 1, 0, 1, 0, 0, 0, 0, 0, 0, 0, 1, 0, 0, 0, 1, 1},
      red,
      red,
      {0.5f, 0.5f, 0.5f, 0, 0, 0, 0, 0, 0.5f, 0.5f, 0.5f, 0, 0, 0, 0, 0, 0}};  // the default
  for (int i = 0; i < 4; ++i) {
    EXPECT_EQ(Fields(mesh.materials[i].material), fields[i]) << i;
    EXPECT_EQ(mesh.materials[i].textureName, i == 1 || i == 2 ? "dir\\red \"1\".png" : "");
    EXPECT_EQ(mesh.materials[i].hasTexture, i == 1 || i == 2);
  }
}

// Position 0 meets three normals: the file's vertex 0 and two copies after the file's four
// vertices, as the platform's loader numbers them; the repeated face reuses its vertices;
// coordinates and colours follow the position. A mesh without normals, coordinates or colours
// gets zeros and white.
TEST(XFileScene, NormalsSplitASharedCornerAndOtherMeshesGetDefaults) {
  const KvXMeshData mesh = Parse(R"(
    Mesh Corner { 4; 0;0;0;, 1;0;0;, 0;1;0;, 0;0;1;;
      4; 3;0,1,2;, 3;0,2,3;, 3;0,3,1;, 3;0,1,2;;
      MeshNormals { 3; 0;0;1;, 1;0;0;, 0;1;0;; 4; 3;0,0,0;, 3;1,1,1;, 3;2,2,2;, 3;0,0,0;; }
      MeshTextureCoords { 4; 0;0;, 0.25;0;, 0.5;0;, 0.75;0;; }
      MeshVertexColors { 1; 3;1;0;0;1;;; }
    }
    Mesh Plain { )" + kTriangle + "}");
  ASSERT_EQ(mesh.VertexCount(), 9u + 3u);
  using V = std::vector<float>;
  for (auto [v, position, normal] : {std::tuple{0u, V{0, 0, 0}, V{0, 0, 1}},
                                     {4u, V{0, 0, 0}, V{1, 0, 0}},
                                     {6u, V{0, 0, 0}, V{0, 1, 0}},
                                     {3u, V{0, 0, 1}, V{1, 0, 0}},
                                     {10u, V{0, 1, 0}, V{0, 0, 0}}}) {
    EXPECT_EQ(At(mesh.positions, v), position) << v;
    EXPECT_EQ(At(mesh.normals, v), normal) << v;
  }
  EXPECT_EQ(std::vector(mesh.indices.begin() + 9, mesh.indices.begin() + 12),
            std::vector(mesh.indices.begin(), mesh.indices.begin() + 3));
  EXPECT_EQ(std::tuple(mesh.texcoords[2 * 3], mesh.colors[3], mesh.colors[4]),
            std::tuple(0.75f, 0xFFFF0000u, 0xFFFFFFFFu));
  EXPECT_EQ(std::tuple(mesh.texcoords[2 * 10], mesh.colors[10]), std::tuple(0.0f, 0xFFFFFFFFu));
}

// Binary tokens: 1 a name, 2 a string, 6 a list of DWORDs, 7 of floats, 10 and 11 braces.
TEST(XFileEncodings, BinaryWithDoublesAndAClassId) {
  std::string file = "xof 0303bin 0064";
  auto put = [&](auto value) { file.append(reinterpret_cast<const char*>(&value), sizeof value); };
  auto list = [&](std::uint16_t code, const auto& values) {
    put(code), put(std::uint32_t(values.size()));
    for (auto v : values) put(v);
  };
  auto open = [&](const std::string& name) { list(1, name), put(std::uint16_t(10)); };
  open("Mesh");
  put(std::uint16_t(5));  // an optional class id after the brace
  file.append(16, '\x11');
  list(6, std::vector<std::uint32_t>{3});
  list(7, std::vector<double>{0.1, 0, 0, 1, 0, 0, 0, 1e10, 0});
  list(6, std::vector<std::uint32_t>{1, 3, 0, 1, 2});
  open("MeshMaterialList");
  list(6, std::vector<std::uint32_t>{1, 1, 0});
  list(1, std::string("Material"));
  open("Shiny");
  list(7, std::vector<double>{1, 0.5, 0.25, 1, 20, 1, 1, 1, 0, 0, 0});
  open("TextureFilename");
  list(2, std::string("maps\\shiny.png"));
  put(std::uint32_t(20));  // the string's terminator, written as a DWORD
  for (int i = 0; i < 4; ++i) put(std::uint16_t(11));
  const KvXMeshData mesh = Parse(file, false);
  ASSERT_EQ(mesh.VertexCount(), 3u);
  EXPECT_EQ(std::pair(mesh.positions[0], mesh.positions[7]), std::pair(0.1f, 1e10f));
  ASSERT_EQ(mesh.materials.size(), 1u);
  EXPECT_EQ(mesh.materials[0].material.Power, 20);
  EXPECT_EQ(mesh.materials[0].textureName, "maps\\shiny.png");  // binary strings have no escapes
}

TEST(XFileEncodings, CompressedTextUsesThePreviousBlockAsDictionary) {
  std::string body = "Mesh Strip {\n 40;\n", faces = " 20;\n";
  for (int i = 0; i < 40; ++i) body += " 1.500000;2.250000;" + std::to_string(i % 2) + ";,\n";
  for (int i = 0; i < 20; ++i)
    faces += " 3;" + std::to_string(i) + "," + std::to_string(i + 20) + ",0;,\n";
  body += faces + "}\n";
  // Two deflated blocks; the second is compressed against the first as its dictionary.
  std::string file = "xof 0303tzip0032";
  const std::uint32_t total = static_cast<std::uint32_t>(body.size() + 16);
  file.append(reinterpret_cast<const char*>(&total), 4);
  const std::size_t half = body.size() / 2;
  for (int block = 0; block < 2; ++block) {
    const std::string part = block == 0 ? body.substr(0, half) : body.substr(half);
    z_stream z{};
    ASSERT_EQ(deflateInit2(&z, 9, Z_DEFLATED, -15, 8, Z_DEFAULT_STRATEGY), Z_OK);
    if (block == 1) deflateSetDictionary(&z, reinterpret_cast<const Bytef*>(body.data()), half);
    Bytef out[4096];
    z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(part.data())), z.next_out = out;
    z.avail_in = static_cast<uInt>(part.size()), z.avail_out = sizeof out;
    EXPECT_EQ(deflate(&z, Z_FINISH), Z_STREAM_END);
    const std::uint16_t sizes[2] = {std::uint16_t(part.size()), std::uint16_t(z.total_out + 2)};
    file.append(reinterpret_cast<const char*>(sizes), 4).append("CK");
    file.append(reinterpret_cast<const char*>(out), z.total_out);
    deflateEnd(&z);
  }
  const KvXMeshData text = Parse(body), compressed = Parse(file, false);
  EXPECT_EQ(std::pair(compressed.positions, compressed.indices),
            std::pair(text.positions, text.indices));
  EXPECT_EQ(compressed.FaceCount(), 20u);
}
