// The .x reader on broken input: every failure is clean (false, empty output) and every success
// describes a mesh that can be drawn without reading out of bounds.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "tests/fuzz/xfile_check.h"

namespace {

const std::string kDir = KV_SHARED_TESTDATA "/x/";

// Whether the bytes parse; either way the fuzzer's checks must hold (a failure leaves the output
// empty, a success describes a mesh that can be drawn without reading out of bounds).
bool ParseChecked(const std::string& bytes) {
  bool loaded = false;
  EXPECT_EQ(
      KvCheckXFileInput(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size(), &loaded),
      "");
  return loaded;
}

// The position after `at` to cut or damage a file of `size` bytes at: every one near its start
// and end, evenly spaced ones between, about 1000 in all, or 40 past 100 kB so that the suite
// stays quick under the sanitizers.
std::size_t Next(std::size_t at, std::size_t size) {
  const std::size_t budget = size > 100000 ? 40 : 1000, edge = budget / 4;
  return at < edge || at + edge >= size ? at + 1 : at + 1 + size / (budget / 2);
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
  std::string frames, unknown = std::string(200000, '{') + std::string(200000, '}');
  for (int i = 0; i < 65; ++i) frames = "Frame {" + frames + (i == 0 ? mesh : "") + "}";
  EXPECT_FALSE(ParseChecked("xof 0303txt 0032\n" + frames));
  // Unknown objects are skipped by counting braces, however deep they go.
  EXPECT_TRUE(ParseChecked("xof 0303txt 0032\nExtra {" + unknown + "}\n" + mesh));
}

TEST(XFileMalformed, TruncatedFilesFailAndFlippedBytesNeverBreakTheReader) {
  if (!std::filesystem::is_directory(kDir)) GTEST_SKIP() << "no shared .x files in " << kDir;
  for (const auto& entry : std::filesystem::directory_iterator(kDir)) {
    if (entry.path().extension() != ".x") continue;
    std::ifstream in(entry.path(), std::ios::binary);
    const std::string bytes{std::istreambuf_iterator<char>(in), {}}, name = entry.path().filename();
    ASSERT_TRUE(ParseChecked(bytes)) << name;
    // Every file ends in a closing brace and at most one newline.
    for (std::size_t length = 0; length + 1 < bytes.size(); length = Next(length, bytes.size()))
      EXPECT_FALSE(ParseChecked(bytes.substr(0, length))) << name << " cut at " << length;
    for (std::size_t at = 0; at < bytes.size(); at = Next(at, bytes.size())) {
      for (char value : {'\xff', '}', '9', static_cast<char>(bytes[at] ^ 0x10)}) {
        std::string damaged = bytes;
        damaged[at] = value;
        ParseChecked(damaged);
      }
    }
  }
}

}  // namespace
