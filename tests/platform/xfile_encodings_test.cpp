// The .x reader on encodings the shared files do not cover: binary with 64-bit floats, and
// compressed text split over blocks that refer back into the previous block.
#include <gtest/gtest.h>
#include <zlib.h>

#include <string>
#include <vector>

#include "platform/xfile/reader.h"

namespace {

// Binary tokens: 1 a name, 2 a string, 6 a list of DWORDs, 7 of floats, 10 and 11 braces.
struct BinaryWriter {
  std::string bytes = "xof 0303bin 0064";
  template <typename T>
  void Put(T value) {
    bytes.append(reinterpret_cast<const char*>(&value), sizeof value);
  }
  template <typename T>
  void List(std::uint16_t code, const std::vector<T>& values) {
    Put(code);
    Put(static_cast<std::uint32_t>(values.size()));
    for (T v : values) Put(v);
  }
  void Text(std::uint16_t code, const std::string& s) {
    List(code, std::vector(s.begin(), s.end()));
  }
  void Open(const std::string& name) { Text(1, name), Put<std::uint16_t>(10); }
};

KvXMeshData Parse(const std::string& file) {
  KvXMeshData mesh;
  std::string error;
  EXPECT_TRUE(
      KvParseXFile(reinterpret_cast<const std::uint8_t*>(file.data()), file.size(), mesh, &error))
      << error;
  return mesh;
}

TEST(XFileEncodings, BinaryWithDoublesAndAClassId) {
  BinaryWriter w;
  w.Open("Mesh");
  w.Put<std::uint16_t>(5);  // an optional class id after the brace
  w.bytes.append(16, '\x11');
  w.List<std::uint32_t>(6, {3});
  w.List<double>(7, {0.1, 0, 0, 1, 0, 0, 0, 1e10, 0});
  w.List<std::uint32_t>(6, {1, 3, 0, 1, 2});
  w.Open("MeshMaterialList");
  w.List<std::uint32_t>(6, {1, 1, 0});
  w.Text(1, "Material");
  w.Open("Shiny");
  w.List<double>(7, {1, 0.5, 0.25, 1, 20, 1, 1, 1, 0, 0, 0});
  w.Open("TextureFilename");
  w.Text(2, "maps\\shiny.png");
  w.Put<std::uint32_t>(20);  // the string's terminator, written as a DWORD
  for (int i = 0; i < 4; ++i) w.Put<std::uint16_t>(11);
  const KvXMeshData mesh = Parse(w.bytes);
  ASSERT_EQ(mesh.VertexCount(), 3u);
  EXPECT_FLOAT_EQ(mesh.positions[0], 0.1f);
  EXPECT_FLOAT_EQ(mesh.positions[7], 1e10f);
  ASSERT_EQ(mesh.materials.size(), 1u);
  EXPECT_FLOAT_EQ(mesh.materials[0].material.Power, 20);
  EXPECT_EQ(mesh.materials[0].textureName, "maps\\shiny.png");  // binary strings have no escapes
}

TEST(XFileEncodings, CompressedTextUsesThePreviousBlockAsDictionary) {
  std::string body = "Mesh Strip {\n 40;\n";
  for (int i = 0; i < 40; ++i) body += " 1.500000;2.250000;" + std::to_string(i % 2) + ";,\n";
  body += " 20;\n";
  for (int i = 0; i < 20; ++i) {
    body += " 3;" + std::to_string(2 * i) + "," + std::to_string(2 * i + 1) + ",0;,\n";
  }
  body += "}\n";
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
    std::vector<Bytef> out(deflateBound(&z, part.size()));
    z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(part.data()));
    z.avail_in = static_cast<uInt>(part.size());
    z.next_out = out.data();
    z.avail_out = static_cast<uInt>(out.size());
    EXPECT_EQ(deflate(&z, Z_FINISH), Z_STREAM_END);
    const std::uint16_t sizes[2] = {std::uint16_t(part.size()), std::uint16_t(z.total_out + 2)};
    file.append(reinterpret_cast<const char*>(sizes), 4).append("CK");
    file.append(reinterpret_cast<const char*>(out.data()), z.total_out);
    deflateEnd(&z);
  }
  const KvXMeshData text = Parse("xof 0303txt 0032" + body), compressed = Parse(file);
  EXPECT_EQ(compressed.positions, text.positions);
  EXPECT_EQ(compressed.indices, text.indices);
  EXPECT_EQ(compressed.FaceCount(), 20u);
}

}  // namespace
