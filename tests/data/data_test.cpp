// Checks the shipped meshes and images: readable, small, wound so that the faces the viewer
// sees survive culling, and shaped as the scene needs (ground under the placed objects, an
// open plunge pool under the head, a cliff behind it, a sky all around).
#include <gtest/gtest.h>
#include <zlib.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/mesh_raycast.h"
#include "platform/xfile_reader.h"

namespace {

using Vec = std::array<float, 3>;

std::string RepoPath(std::string relative) {
  for (char& c : relative) {
    if (c == '\\') c = '/';
  }
  return std::string(KV_SOURCE_DIR) + "/" + relative;
}

// ---- PNG files as the generator writes them: 8-bit RGB or RGBA, filter 0 on every row.

struct Png {
  int width = 0, height = 0, channels = 0;
  std::vector<std::uint8_t> texels;
  const std::uint8_t* At(int x, int y) const { return &texels[(y * width + x) * channels]; }
};

std::uint32_t BigEndian(const std::uint8_t* p) {
  return (std::uint32_t(p[0]) << 24) | (p[1] << 16) | (p[2] << 8) | p[3];
}

// Reads the file, checking the signature and every chunk's CRC; fails the test otherwise.
Png ReadPng(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::vector<std::uint8_t> file((std::istreambuf_iterator<char>(in)), {});
  Png png;
  const std::uint8_t signature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  EXPECT_TRUE(file.size() > 8 && std::equal(signature, signature + 8, file.begin())) << path;
  std::vector<std::uint8_t> compressed;
  for (std::size_t pos = 8; pos + 12 <= file.size();) {
    std::uint32_t length = BigEndian(&file[pos]);
    if (pos + 12 + length > file.size()) break;
    const std::uint8_t* type = &file[pos + 4];
    const std::uint8_t* data = type + 4;
    EXPECT_EQ(crc32(0, type, length + 4), BigEndian(data + length)) << path;
    std::string name(type, type + 4);
    if (name == "IHDR") {
      png.width = static_cast<int>(BigEndian(data));
      png.height = static_cast<int>(BigEndian(data + 4));
      EXPECT_EQ(data[8], 8) << path;
      png.channels = data[9] == 6 ? 4 : data[9] == 2 ? 3 : 0;
    } else if (name == "IDAT") {
      compressed.insert(compressed.end(), data, data + length);
    }
    pos += 12 + length;
  }
  std::size_t row = static_cast<std::size_t>(png.width) * png.channels;
  uLongf rawSize = (row + 1) * png.height;
  std::vector<std::uint8_t> raw(rawSize);
  EXPECT_EQ(uncompress(raw.data(), &rawSize, compressed.data(), compressed.size()), Z_OK) << path;
  EXPECT_EQ(rawSize, (row + 1) * png.height) << path;
  for (int y = 0; y < png.height && png.channels; ++y) {
    EXPECT_EQ(raw[y * (row + 1)], 0) << path << " row " << y;
    png.texels.insert(png.texels.end(), raw.begin() + y * (row + 1) + 1,
                      raw.begin() + (y + 1) * (row + 1));
  }
  return png;
}

TEST(DataImages, EveryImageIsASmallOpaquePng) {
  int count = 0;
  for (const auto& entry : std::filesystem::directory_iterator(RepoPath("Data/Texture"))) {
    Png png = ReadPng(entry.path().string());
    ++count;
    EXPECT_TRUE(png.channels == 3 || png.channels == 4) << entry.path();
    EXPECT_TRUE(png.width >= 64 && png.width <= 256 && png.height >= 64 && png.height <= 256)
        << entry.path();
    EXPECT_EQ(png.texels.size(), std::size_t(png.width) * png.height * png.channels);
    for (std::size_t i = 3; png.channels == 4 && i < png.texels.size(); i += 4) {
      ASSERT_EQ(png.texels[i], 255) << entry.path();
    }
  }
  EXPECT_GE(count, 10);
}

// Step in colour across the line between column x - 1 and column x (wrapping round), with
// four columns averaged on either side so that fine grain does not hide a seam. With
// `transpose`, rows instead of columns.
double StepAcross(const Png& png, int x, bool transpose) {
  int w = transpose ? png.height : png.width, h = transpose ? png.width : png.height;
  auto texel = [&](int i, int j, int c) {
    i = (i % w + w) % w;
    return transpose ? png.At(j, i)[c] : png.At(i, j)[c];
  };
  double sum = 0;
  for (int j = 0; j < h; ++j) {
    for (int c = 0; c < 3; ++c) {
      double before = 0, after = 0;
      for (int k = 0; k < 4; ++k) {
        before += texel(x - 1 - k, j, c) / 4.0;
        after += texel(x + k, j, c) / 4.0;
      }
      sum += std::abs(before - after);
    }
  }
  return sum / h;
}

// Across the wrap-around seams the image changes no more than elsewhere. The sky wraps only
// around the horizon, left to right.
TEST(DataImages, SurfaceImagesTileWithoutSeams) {
  for (const char* name : {"grass", "rock", "stone", "marble", "pool", "ember", "sky"}) {
    Png png = ReadPng(RepoPath(std::string("Data/Texture/") + name + ".png"));
    for (bool transpose : {false, true}) {
      if (transpose && std::string(name) == "sky") continue;
      int lines = transpose ? png.height : png.width;
      double mean = 0;
      for (int x = 0; x < lines; ++x) mean += StepAcross(png, x, transpose) / lines;
      EXPECT_LT(StepAcross(png, 0, transpose), 1.5 * mean + 1.0)
          << name << (transpose ? " top/bottom" : " left/right");
    }
  }
}

struct KeyedImage {
  const char* file;
  std::array<std::uint8_t, 3> key;
};

class DataParticleImage : public testing::TestWithParam<KeyedImage> {};

// The key surrounds the picture and reaches nowhere inside it; where the picture meets the
// key it has faded to black, since the particles are added to the frame; its middle is lit.
TEST_P(DataParticleImage, PictureFadesToBlackInsideAKeyedBorder) {
  Png png = ReadPng(RepoPath(std::string("Data/Texture/") + GetParam().file));
  ASSERT_EQ(png.width, png.height);
  ASSERT_TRUE(png.width >= 64 && png.width <= 128);
  const int n = png.width;
  auto isKey = [&](int x, int y) {
    const std::uint8_t* p = png.At(x, y);
    return p[0] == GetParam().key[0] && p[1] == GetParam().key[1] && p[2] == GetParam().key[2];
  };
  for (auto [x, y] : {std::pair{0, 0}, {n - 1, 0}, {0, n - 1}, {n - 1, n - 1}}) {
    EXPECT_TRUE(isKey(x, y)) << "corner " << x << "," << y;
  }
  // Flood the key from the border; every key texel must be reached.
  std::vector<char> reached(n * n, 0);
  std::vector<std::pair<int, int>> todo;
  for (int i = 0; i < n; ++i) {
    for (auto [x, y] : {std::pair{i, 0}, {i, n - 1}, {0, i}, {n - 1, i}}) todo.push_back({x, y});
  }
  while (!todo.empty()) {
    auto [x, y] = todo.back();
    todo.pop_back();
    if (x < 0 || y < 0 || x >= n || y >= n || reached[y * n + x] || !isKey(x, y)) continue;
    reached[y * n + x] = 1;
    todo.insert(todo.end(), {{x + 1, y}, {x - 1, y}, {x, y + 1}, {x, y - 1}});
  }
  int stray = 0, brightEdge = 0, keyTexels = 0;
  for (int y = 0; y < n; ++y) {
    for (int x = 0; x < n; ++x) {
      if (isKey(x, y)) {
        ++keyTexels;
        stray += !reached[y * n + x];
        continue;
      }
      bool besideKey = (x > 0 && isKey(x - 1, y)) || (x + 1 < n && isKey(x + 1, y)) ||
                       (y > 0 && isKey(x, y - 1)) || (y + 1 < n && isKey(x, y + 1));
      const std::uint8_t* p = png.At(x, y);
      if (besideKey && std::max({p[0], p[1], p[2]}) > 40) ++brightEdge;
    }
  }
  EXPECT_EQ(stray, 0) << "key texels inside the picture";
  EXPECT_EQ(brightEdge, 0) << "picture texels next to the key that are not dark";
  EXPECT_GT(keyTexels, n * n / 8);
  double centre = 0;
  for (int y = n / 2 - 8; y < n / 2 + 8; ++y) {
    for (int x = n / 2 - 8; x < n / 2 + 8; ++x) {
      const std::uint8_t* p = png.At(x, y);
      centre += std::max({p[0], p[1], p[2]}) / 256.0;
    }
  }
  EXPECT_GT(centre, 100.0) << "the middle is not bright";
}

// Test names from the file name without its extension.
template <typename Param>
std::string FileStem(const testing::TestParamInfo<Param>& info) {
  std::string name = info.param.file;
  return name.substr(0, name.find('.'));
}

INSTANTIATE_TEST_SUITE_P(Particles, DataParticleImage,
                         testing::Values(KeyedImage{"flame.png", {255, 0, 0}},
                                         KeyedImage{"fountain.png", {0, 0, 255}},
                                         KeyedImage{"water.png", {0, 0, 255}}),
                         FileStem<KeyedImage>);

// ---- Meshes

struct LoadedMesh {
  KvXMeshData data;
  std::unique_ptr<KvMeshRaycast> raycast;

  Vec Corner(std::uint32_t face, int corner) const {
    const float* p = &data.positions[data.indices[face * 3 + corner] * 3];
    return {p[0], p[1], p[2]};
  }
  // (v1 - v0) x (v2 - v0): points toward a viewer who sees the face wound clockwise.
  Vec Cross(std::uint32_t face) const {
    Vec a = Corner(face, 0), b = Corner(face, 1), c = Corner(face, 2);
    Vec e{b[0] - a[0], b[1] - a[1], b[2] - a[2]}, f{c[0] - a[0], c[1] - a[1], c[2] - a[2]};
    return {e[1] * f[2] - e[2] * f[1], e[2] * f[0] - e[0] * f[2], e[0] * f[1] - e[1] * f[0]};
  }
  bool Cast(Vec origin, Vec direction, KvRayHit& hit) const {
    return raycast->Nearest(origin.data(), direction.data(), hit);
  }
  // Height of the first surface straight below (x, fromY, z); -1000 when there is none.
  float GroundBelow(float x, float fromY, float z) const {
    KvRayHit hit;
    return Cast({x, fromY, z}, {0, -1, 0}, hit) ? fromY - hit.distance : -1000.0f;
  }
};

const LoadedMesh& Load(const char* name) {
  static std::map<std::string, LoadedMesh> meshes;
  LoadedMesh& mesh = meshes[name];
  if (!mesh.raycast) {
    std::string error;
    EXPECT_TRUE(KvReadXFile(RepoPath(std::string("Data/X/") + name).c_str(), mesh.data, &error))
        << name << ": " << error;
    mesh.raycast =
        std::make_unique<KvMeshRaycast>(mesh.data.positions.data(), mesh.data.VertexCount(),
                                        mesh.data.indices.data(), mesh.data.FaceCount());
  }
  return mesh;
}

Vec Direction(float azimuthDegrees, float elevationDegrees) {
  float a = azimuthDegrees * 0.017453292f, e = elevationDegrees * 0.017453292f;
  return {std::cos(e) * std::sin(a), std::sin(e), std::cos(e) * std::cos(a)};
}

// Casts from `eye` toward `direction`; counts faces seen with the wrong winding. The
// environment's visible faces are counter-clockwise (cross product pointing away from the
// viewer), the models' clockwise.
void CountWinding(const LoadedMesh& mesh, Vec eye, Vec direction, bool clockwise, int& hits,
                  int& wrong) {
  KvRayHit hit;
  if (!mesh.Cast(eye, direction, hit)) return;
  ++hits;
  Vec n = mesh.Cross(hit.face);
  float length = std::sqrt(n[0] * n[0] + n[1] * n[1] + n[2] * n[2]);
  float facing = (n[0] * direction[0] + n[1] * direction[1] + n[2] * direction[2]) / length;
  if (clockwise ? facing > 0.01f : facing < -0.01f) ++wrong;
}

struct MeshExpectation {
  const char* file;
  std::size_t minFaces, maxFaces, materials;
};

class DataMesh : public testing::TestWithParam<MeshExpectation> {};

TEST_P(DataMesh, IsSoundAndNamesTexturesThatExist) {
  const LoadedMesh& mesh = Load(GetParam().file);
  const KvXMeshData& d = mesh.data;
  EXPECT_GE(d.FaceCount(), GetParam().minFaces);
  EXPECT_LE(d.FaceCount(), GetParam().maxFaces);
  ASSERT_EQ(d.materials.size(), GetParam().materials);
  EXPECT_EQ(d.normals.size(), d.positions.size());
  EXPECT_EQ(d.colors.size(), d.VertexCount());
  EXPECT_EQ(d.texcoords.size(), d.VertexCount() * 2);
  for (std::uint32_t index : d.indices) ASSERT_LT(index, d.VertexCount());
  std::vector<std::size_t> used(d.materials.size(), 0);
  for (std::size_t f = 0; f < d.FaceCount(); ++f) {
    ASSERT_LT(d.attributes[f], d.materials.size());
    ++used[d.attributes[f]];
    Vec n = mesh.Cross(static_cast<std::uint32_t>(f));
    ASSERT_GT(n[0] * n[0] + n[1] * n[1] + n[2] * n[2], 1e-14f) << "degenerate face " << f;
  }
  int textured = 0;
  for (std::size_t m = 0; m < d.materials.size(); ++m) {
    EXPECT_GT(used[m], 0u) << "material " << m << " unused";
    if (!d.materials[m].hasTexture) continue;
    ++textured;
    const std::string& name = d.materials[m].textureName;
    EXPECT_EQ(name.rfind("Data\\Texture\\", 0), 0u) << name;
    EXPECT_TRUE(std::filesystem::is_regular_file(RepoPath(name))) << name;
  }
  EXPECT_GE(textured, 1);
}

INSTANTIATE_TEST_SUITE_P(Scene, DataMesh,
                         testing::Values(MeshExpectation{"environment.x", 20000, 60000, 3},
                                         MeshExpectation{"FirePit.x", 200, 6000, 2},
                                         MeshExpectation{"Fountain.x", 200, 6000, 2},
                                         MeshExpectation{"head.x", 500, 12000, 2}),
                         FileStem<MeshExpectation>);

TEST(DataEnvironment, GroundIsBelowZeroWhereTheSceneStands) {
  const LoadedMesh& env = Load("environment.x");
  for (auto [x, z] : {std::pair{0.0f, -10.0f}, {2.0f, -5.0f}, {2.5f, 0.0f}, {-2.5f, 0.0f}}) {
    float ground = env.GroundBelow(x, 5.0f, z);
    EXPECT_LT(ground, 0.0f) << x << "," << z;
    EXPECT_GT(ground, -1.0f) << x << "," << z;
  }
  for (float x = -15.0f; x <= 15.0f; x += 0.5f) {
    float ground = env.GroundBelow(x, 5.0f, 0.0f);
    EXPECT_TRUE(ground < 0.0f && ground > -1.0f) << "x " << x << " ground " << ground;
  }
}

TEST(DataEnvironment, PoolBelowTheHeadIsOpenAndACliffRisesBehindIt) {
  const LoadedMesh& env = Load("environment.x");
  // Below the head: a floor (not a hole), at least 16 below the mouth.
  EXPECT_LE(env.GroundBelow(11.0f, 17.0f, 17.0f), 1.0f);
  EXPECT_GT(env.GroundBelow(11.0f, 17.0f, 17.0f), -10.0f);
  for (float r : {1.0f, 2.0f, 2.95f}) {
    for (int a = 0; a < 360; a += 15) {
      Vec d = Direction(static_cast<float>(a), 0);
      float x = 11.0f + r * d[0], z = 17.0f + r * d[2];
      // Cast from high up so that rock reaching above y = 17 is found too.
      float ground = env.GroundBelow(x, 200.0f, z);
      EXPECT_TRUE(ground <= 1.0f && ground > -10.0f) << x << "," << z << ": " << ground;
    }
  }
  for (float y : {20.0f, 24.5f}) {
    KvRayHit hit;
    ASSERT_TRUE(env.Cast({11.0f, y, 0.0f}, {0, 0, 1}, hit));
    EXPECT_GT(hit.distance, 19.0f) << "y " << y;
    EXPECT_LT(hit.distance, 23.0f) << "y " << y;
  }
}

TEST(DataEnvironment, SkySurroundsEveryViewFromTheValley) {
  const LoadedMesh& env = Load("environment.x");
  for (Vec eye : {Vec{0, 1.5f, -10}, Vec{20, 1.5f, 0}, Vec{-20, 1.5f, 5}}) {
    for (int elevation = 0; elevation <= 90; elevation += 10) {
      for (int azimuth = 0; azimuth < 360; azimuth += 15) {
        KvRayHit hit;
        EXPECT_TRUE(env.Cast(eye, Direction(float(azimuth), float(elevation)), hit))
            << "nothing seen from " << eye[0] << "," << eye[2] << " at " << azimuth << "/"
            << elevation;
        EXPECT_LT(hit.distance, 490.0f) << "beyond the far plane";
      }
    }
    KvRayHit up;
    ASSERT_TRUE(env.Cast(eye, {0, 1, 0}, up));
    EXPECT_GT(up.distance, 240.0f);
  }
}

TEST(DataEnvironment, FacesTheViewerSeesWindCounterClockwise) {
  const LoadedMesh& env = Load("environment.x");
  int hits = 0, wrong = 0;
  for (Vec eye : {Vec{0, 1.5f, -10}, Vec{11, 6, 8}, Vec{-25, 3, 0}, Vec{30, 0, -60}}) {
    eye[1] = std::max(eye[1], env.GroundBelow(eye[0], 200.0f, eye[2]) + 3.0f);
    for (int elevation = -60; elevation <= 80; elevation += 10) {
      for (int azimuth = 0; azimuth < 360; azimuth += 10) {
        CountWinding(env, eye, Direction(float(azimuth), float(elevation)), false, hits, wrong);
      }
    }
  }
  // Ground seen from high above, all over the map.
  for (float x = -110; x <= 110; x += 10) {
    for (float z = -110; z <= 110; z += 10) {
      CountWinding(env, {x, 200, z}, {0, -1, 0}, false, hits, wrong);
    }
  }
  EXPECT_GT(hits, 2000);
  EXPECT_EQ(wrong, 0);
}

struct ModelView {
  const char* file;
  Vec centre;
  float distance;
  int maxElevation;  // of the viewing direction: 0 for models seen only from above or level
};

class DataModelWinding : public testing::TestWithParam<ModelView> {};

TEST_P(DataModelWinding, FacesTheViewerSeesWindClockwise) {
  const LoadedMesh& mesh = Load(GetParam().file);
  const Vec c = GetParam().centre;
  int hits = 0, wrong = 0;
  for (int elevation = -90; elevation <= GetParam().maxElevation; elevation += 10) {
    for (int azimuth = 0; azimuth < 360; azimuth += 10) {
      Vec d = Direction(float(azimuth), float(elevation));
      float r = GetParam().distance;
      for (float offset : {-0.2f, 0.0f, 0.2f}) {
        Vec eye{c[0] - d[0] * r + offset, c[1] - d[1] * r, c[2] - d[2] * r - offset};
        CountWinding(mesh, eye, d, true, hits, wrong);
      }
    }
  }
  EXPECT_GT(hits, 300);
  EXPECT_EQ(wrong, 0);
}

// The fire pit and the fountain stand on the ground; the head hangs above the viewer.
INSTANTIATE_TEST_SUITE_P(Scene, DataModelWinding,
                         testing::Values(ModelView{"FirePit.x", {0, 0.1f, 0}, 5, 0},
                                         ModelView{"Fountain.x", {0, -0.6f, 0}, 5, 0},
                                         ModelView{"head.x", {0, 0.4f, 0.4f}, 5, 90}),
                         FileStem<ModelView>);

void Bounds(const KvXMeshData& d, Vec& low, Vec& high) {
  low = {1e9f, 1e9f, 1e9f};
  high = {-1e9f, -1e9f, -1e9f};
  for (std::size_t i = 0; i < d.positions.size(); ++i) {
    low[i % 3] = std::min(low[i % 3], d.positions[i]);
    high[i % 3] = std::max(high[i % 3], d.positions[i]);
  }
}

TEST(DataModelShapes, SizesAndOriginsSuitTheirPlaces) {
  Vec low, high;
  Bounds(Load("FirePit.x").data, low, high);  // origin at the middle of its base
  EXPECT_NEAR(high[0] - low[0], 1.5f, 0.25f);
  EXPECT_TRUE(low[1] <= 0.0f && low[1] > -0.25f);
  EXPECT_NEAR(low[0] + high[0], 0.0f, 0.2f);

  Bounds(Load("Fountain.x").data, low, high);  // origin at the top of the spout, base 1 below
  EXPECT_NEAR(high[0] - low[0], 2.0f, 0.2f);
  EXPECT_NEAR(low[1], -1.0f, 0.05f);
  EXPECT_NEAR(high[1], 0.0f, 0.05f);

  Bounds(Load("head.x").data, low, high);  // origin in the mouth, the face toward -z
  EXPECT_NEAR(high[1] - low[1], 1.5f, 0.2f);
  EXPECT_TRUE(low[1] < 0 && high[1] > 0.8f);
  EXPECT_TRUE(low[2] > -0.4f && high[2] > 0.8f);
}

}  // namespace
