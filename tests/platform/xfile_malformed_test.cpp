// The .x reader on broken input: every failure is clean (false, empty output, a reason) and
// every success describes a mesh that can be drawn without reading out of bounds.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "platform/xfile/reader.h"

namespace {

const std::string kDir = KV_SHARED_TESTDATA "/x/";

const char kGoodMesh[] = R"(xof 0303txt 0032
Material Red { 1;0;0;1;; 8; 1;1;1;; 0;0;0;; TextureFilename { "red.png"; } }
Frame Root {
  FrameTransformMatrix { 1,0,0,0, 0,1,0,0, 0,0,1,0, 0,0,0,1;; }
  Mesh Quad { 4; 0;0;0;, 1;0;0;, 1;1;0;, 0;1;0;; 1; 4;0,1,2,3;;
    MeshNormals { 1; 0;0;1;; 1; 4;0,0,0,0;; }
    MeshTextureCoords { 4; 0;0;, 1;0;, 1;1;, 0;1;; }
    MeshVertexColors { 1; 0;1;0;0;1;;; }
    MeshMaterialList { 1; 1; 0;; { Red } }
  }
}
)";

// Parses bytes; a failure must leave the output empty, a success must be self-consistent.
bool ParseChecked(const std::string& bytes) {
  KvXMeshData mesh;
  mesh.positions = {1, 2, 3};  // stale content must not survive a failure
  std::string error;
  if (!KvParseXFile(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size(), mesh,
                    &error)) {
    EXPECT_FALSE(error.empty());
    EXPECT_TRUE(mesh.positions.empty() && mesh.indices.empty() && mesh.materials.empty());
    return false;
  }
  const std::size_t vertices = mesh.VertexCount();
  const auto below = [](std::size_t n) { return [n](std::uint32_t i) { return i < n; }; };
  EXPECT_GT(mesh.FaceCount(), 0u);
  EXPECT_EQ(mesh.attributes.size(), mesh.FaceCount());
  EXPECT_TRUE(std::all_of(mesh.indices.begin(), mesh.indices.end(), below(vertices)));
  EXPECT_TRUE(
      std::all_of(mesh.attributes.begin(), mesh.attributes.end(), below(mesh.materials.size())));
  EXPECT_TRUE(mesh.normals.empty() || mesh.normals.size() == 3 * vertices);
  EXPECT_TRUE(mesh.texcoords.empty() || mesh.texcoords.size() == 2 * vertices);
  EXPECT_TRUE(mesh.colors.empty() || mesh.colors.size() == vertices);
  return true;
}

// The inline mesh and every shared test file.
std::vector<std::pair<std::string, std::string>> Samples() {
  std::vector<std::pair<std::string, std::string>> samples = {{"inline", kGoodMesh}};
  std::error_code noFolder;
  for (const auto& entry : std::filesystem::directory_iterator(kDir, noFolder)) {
    if (entry.path().extension() != ".x") continue;
    std::ifstream in(entry.path(), std::ios::binary);
    samples.emplace_back(entry.path().filename(), std::string(std::istreambuf_iterator(in), {}));
  }
  return samples;
}

// Every position below `size` up to 1000; else the start, the end and evenly spaced points,
// about 1000 in all, or 40 past 100 kB so that the suite stays quick under the sanitizers.
std::vector<std::size_t> Positions(std::size_t size) {
  const std::size_t budget = size > 100000 ? 40 : 1000, edge = budget / 4;
  std::vector<std::size_t> positions;
  for (std::size_t i = 0; i < size; ++i) {
    if (size <= budget || i < edge || i + edge > size || i % (size / (budget / 2) + 1) == 0) {
      positions.push_back(i);
    }
  }
  return positions;
}

TEST(XFileMalformed, BrokenInputsFail) {
  const std::string header = "xof 0303txt 0032\n";
  const std::string tri = "3; 0;0;0;, 1;0;0;, 0;1;0;; 1; 3;0,1,2;;", mesh = header + "Mesh {" + tri;
  const std::string material = "Material { 1;1;1;1;; 0; 0;0;0;; 0;0;0;; ";
  const std::string cases[] = {
      "",
      "xof 0303txt",
      header,                                                       // no mesh
      "xof 0303abc 0032 Mesh {" + tri + "}",                        // unknown encoding
      "xof 0303txt 0016 Mesh {" + tri + "}",                        // unknown float size
      mesh,                                                         // unclosed
      mesh + "}}",                                                  // one brace too many
      header + "Mesh { 3; 0;0;0;, 1;0;0;, 0;1;0;; 1; 3;0,1,3;; }",  // index out of range
      header + "Mesh { 0; 0; }",                                    // no triangle
      header + "Mesh { 3; 0;0;0;, 1;0;0;, 0;1;0; }",                // too few numbers
      header + "Mesh { 4294967295; 0;0;0;; 1; 3;0,1,2;; }",         // absurd count
      header + "Mesh { 3; 0;0;0;, 1;0;0;, 0;1;0;; 4294967295; 3;0,1,2;; }",
      mesh + "MeshMaterialList { 1; 1; 1;; " + material + "} } }",  // no material 1
      mesh + "MeshMaterialList { 2; 1; 0;; " + material + "} } }",  // one material short
      mesh + "MeshMaterialList { 1; 1; 0;; { Missing } } }",
      mesh + "MeshNormals { 1; 0;0;1;; 1; 4;0,0,0,0;; } }",
      mesh + "MeshTextureCoords { 2; 0;0;, 1;1;; } }",
      mesh + "MeshVertexColors { 1; 3;1;1;1;1;; } }",
      mesh + "MeshMaterialList { 1; 1; 0;; " + material + "TextureFilename { \"open; } } } }",
      std::string("xof 0303bin 0032\x01\x00\xff\xff\xff\xff", 22),  // name longer than the file
      std::string("xof 0303bin 0032\x06\x00\xff\xff\xff\x3f", 22),  // list longer than the file
      std::string("xof 0303tzip0032\xff\xff\xff\xff", 20),          // absurd uncompressed size
      std::string("xof 0303tzip0032\x20\x00\x00\x00\x10\x00\x04\x00XY\x03\x00", 28),  // no "CK"
  };
  for (const std::string& bytes : cases) EXPECT_FALSE(ParseChecked(bytes)) << bytes;
}

TEST(XFileMalformed, NestingIsBoundedWithoutRecursion) {
  const std::string mesh = "Mesh { 3; 0;0;0;, 1;0;0;, 0;1;0;; 1; 3;0,1,2;; }";
  std::string frames, unknown;
  for (int i = 0; i < 65; ++i) frames = "Frame {" + frames + (i == 0 ? mesh : "") + "}";
  EXPECT_FALSE(ParseChecked("xof 0303txt 0032\n" + frames));
  // Unknown objects are skipped by counting braces, however deep they go.
  for (int i = 0; i < 200000; ++i) unknown += '{';
  unknown += std::string(200000, '}');
  EXPECT_TRUE(ParseChecked("xof 0303txt 0032\nExtra {" + unknown + "}\n" + mesh));
}

TEST(XFileMalformed, TruncatedFilesFailAndFlippedBytesNeverBreakTheReader) {
  for (const auto& [name, bytes] : Samples()) {
    ASSERT_TRUE(ParseChecked(bytes)) << name;
    // Every file ends in a closing brace and at most one newline.
    for (std::size_t length : Positions(bytes.size() - 1)) {
      EXPECT_FALSE(ParseChecked(bytes.substr(0, length))) << name << " cut at " << length;
    }
    for (std::size_t at : Positions(bytes.size())) {
      for (char value : {'\xff', '}', '9', static_cast<char>(bytes[at] ^ 0x10)}) {
        std::string damaged = bytes;
        damaged[at] = value;
        ParseChecked(damaged);
      }
    }
  }
}

TEST(XFileMalformed, InflatedCountsFailBeforeAllocating) {
  for (const auto& [name, bytes] : Samples()) {
    // Text: the first number inside every Mesh... object is a count.
    std::size_t at = bytes.compare(8, 4, "txt ") == 0 ? bytes.find("Mesh") : std::string::npos;
    for (; at != std::string::npos; at = bytes.find("Mesh", at + 1)) {
      const std::size_t number = bytes.find_first_not_of(" \r\n\t", bytes.find('{', at) + 1);
      const std::size_t end = bytes.find_first_not_of("0123456789", number);
      if (!std::isspace(static_cast<unsigned char>(bytes[at - 1])) || end == number) continue;
      for (const char* huge : {"4294967295", "99999999"}) {
        EXPECT_FALSE(ParseChecked(std::string(bytes).replace(number, end - number, huge)))
            << name << " at " << number;
      }
    }
    // Binary: every DWORD of a small file made huge; whatever it was, the reader copes.
    const bool smallBinary = bytes.compare(8, 4, "bin ") == 0 && bytes.size() <= 10000;
    for (std::size_t at = 16; smallBinary && at + 4 <= bytes.size(); ++at) {
      ParseChecked(std::string(bytes).replace(at, 4, "\xff\xff\xff\x7f"));
    }
  }
}

}  // namespace
