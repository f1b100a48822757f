// Checks the shipped meshes and images: readable, small, wound so that the faces the viewer
// sees survive culling, and shaped as the scene needs (ground under the placed objects, an
// open plunge pool under the head, a cliff behind it, a sky all around).
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/image/image_decode.h"
#include "platform/d3dx9/mesh_raycast.h"
#include "platform/xfile/reader.h"
#include "scene/model.h"
#include "tests/support/image_files.h"
#include "tests/support/recording_device.h"

namespace {

using Vec = std::array<float, 3>;

std::string RepoPath(std::string relative) {
  std::replace(relative.begin(), relative.end(), '\\', '/');
  return std::string(KV_SOURCE_DIR) + "/" + relative;
}

// ---- Images, decoded as the texture loader decodes them: ARGB texels, rows top to bottom,
// padded to powers of two when the file is not.

struct Image {
  int width = 0, height = 0;
  std::vector<DWORD> texels;
  int Channel(int x, int y, int c) const { return (texels[y * width + x] >> (16 - 8 * c)) & 0xFF; }
  int Brightest(int x, int y) const {
    return std::max({Channel(x, y, 0), Channel(x, y, 1), Channel(x, y, 2)});
  }
};

Image LoadImage(const std::string& path) {
  const std::vector<unsigned char> bytes = KvReadBytes(path);
  KvTextureImage decoded;
  EXPECT_EQ(
      KvDecodeTextureImage(bytes.data(), bytes.size(), D3DX_DEFAULT, D3DX_DEFAULT, 1, 0, decoded),
      KvImageStatus::kOk)
      << path;
  if (decoded.levels.empty()) return {};
  return {int(decoded.sourceWidth), int(decoded.sourceHeight), decoded.levels[0].texels};
}

// Every image is a small, opaque PNG.
TEST(DataImages, SmallAndOpaque) {
  int count = 0;
  for (const auto& entry : std::filesystem::directory_iterator(RepoPath("Data/Texture"))) {
    SCOPED_TRACE(entry.path().string());
    const Image image = LoadImage(entry.path().string());
    ++count;
    EXPECT_EQ(entry.path().extension(), ".png");
    EXPECT_TRUE(std::min(image.width, image.height) >= 64 &&
                std::max(image.width, image.height) <= 256);
    ASSERT_EQ(image.texels.size(), std::size_t(image.width) * image.height);
    EXPECT_TRUE(std::all_of(image.texels.begin(), image.texels.end(),
                            [](DWORD t) { return t >> 24 == 0xFF; }));
  }
  EXPECT_GE(count, 10);
}

void ExpectKeyedPicture(const Image& image, DWORD key) {
  const int n = image.width;
  ASSERT_TRUE(image.height == n && n >= 64 && n <= 128);
  auto isKey = [&](int x, int y) {
    return x >= 0 && y >= 0 && x < n && y < n && (image.texels[y * n + x] & 0xFFFFFF) == key;
  };
  for (int i = 0; i < n; ++i) {
    ASSERT_TRUE(isKey(i, 0) && isKey(i, n - 1) && isKey(0, i) && isKey(n - 1, i)) << "border " << i;
  }
  // Flood the key from the border; every key texel must be reached.
  std::vector<char> reached(n * n, 0);
  std::vector<std::pair<int, int>> todo = {{0, 0}};
  while (!todo.empty()) {
    auto [x, y] = todo.back();
    todo.pop_back();
    if (!isKey(x, y) || reached[y * n + x]) continue;
    reached[y * n + x] = 1;
    todo.insert(todo.end(), {{x + 1, y}, {x - 1, y}, {x, y + 1}, {x, y - 1}});
  }
  int stray = 0, brightEdge = 0, keyTexels = 0;
  double centre = 0;
  for (int y = 0; y < n; ++y) {
    for (int x = 0; x < n; ++x) {
      if (isKey(x, y)) {
        ++keyTexels;
        stray += !reached[y * n + x];
      } else if (isKey(x - 1, y) || isKey(x + 1, y) || isKey(x, y - 1) || isKey(x, y + 1)) {
        brightEdge += image.Brightest(x, y) > 40;
      }
      if (std::abs(2 * x + 1 - n) <= 16 && std::abs(2 * y + 1 - n) <= 16) {
        centre += image.Brightest(x, y) / 256.0;  // the middle 16 x 16
      }
    }
  }
  EXPECT_EQ(stray, 0) << "key texels inside the picture";
  EXPECT_EQ(brightEdge, 0) << "picture texels next to the key that are not dark";
  EXPECT_GT(keyTexels, n * n / 8);
  EXPECT_GT(centre, 100.0) << "the middle is not bright";
}

// The key surrounds the picture and reaches nowhere inside it; where the picture meets the
// key it has faded to black, since the particles are added to the frame; its middle is lit.
TEST(DataImages, ParticlePicturesFadeToBlackInsideAKeyedBorder) {
  for (auto [file, key] :
       {std::pair{"flame.png", 0xFF0000u}, {"fountain.png", 0x0000FFu}, {"water.png", 0x0000FFu}}) {
    SCOPED_TRACE(file);
    ExpectKeyedPicture(LoadImage(RepoPath(std::string("Data/Texture/") + file)), key);
  }
}

// ---- Meshes

struct LoadedMesh {
  KvXMeshData data;
  std::unique_ptr<KvMeshRaycast> raycast;

  // (v1 - v0) x (v2 - v0): points toward a viewer who sees the face wound clockwise.
  Vec Cross(std::uint32_t face) const {
    const float* p[3];
    for (int i = 0; i < 3; ++i) p[i] = &data.positions[data.indices[face * 3 + i] * 3];
    Vec e{p[1][0] - p[0][0], p[1][1] - p[0][1], p[1][2] - p[0][2]};
    Vec f{p[2][0] - p[0][0], p[2][1] - p[0][1], p[2][2] - p[0][2]};
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

Vec Direction(int azimuthDegrees, int elevationDegrees) {
  float a = float(azimuthDegrees) * 0.017453292f, e = float(elevationDegrees) * 0.017453292f;
  return {std::cos(e) * std::sin(a), std::sin(e), std::cos(e) * std::cos(a)};
}

// Casts from `eye` toward `direction` and returns the distance to the face seen (1e30 for
// none), counting it in `hits` and, when it is wound the wrong way, in `wrong`. The
// environment's visible faces are counter-clockwise (cross product pointing away from the
// viewer), the models' clockwise.
float Look(const LoadedMesh& mesh, Vec eye, Vec direction, bool clockwise, int& hits, int& wrong) {
  KvRayHit hit;
  if (!mesh.Cast(eye, direction, hit)) return 1e30f;
  ++hits;
  Vec n = mesh.Cross(hit.face);
  float length = std::sqrt(n[0] * n[0] + n[1] * n[1] + n[2] * n[2]);
  float facing = (n[0] * direction[0] + n[1] * direction[1] + n[2] * direction[2]) / length;
  wrong += clockwise ? facing > 0.01f : facing < -0.01f;
  return hit.distance;
}

// Through the scene's loader too: a subset for every material, at least one textured, and the
// baked shading in the vertex colours.
TEST(DataMeshes, CountsNoDegenerateFaceTexturesThatExistAndTheyLoadAsModels) {
  const struct {
    const char* file;
    std::size_t minFaces, maxFaces;
    DWORD materials;
  } meshes[] = {{"environment.x", 20000, 60000, 3},
                {"FirePit.x", 200, 6000, 2},
                {"Fountain.x", 200, 6000, 2},
                {"head.x", 500, 12000, 2}};
  KvRecordingDevice device;
  for (const auto& expected : meshes) {
    SCOPED_TRACE(expected.file);
    const LoadedMesh& mesh = Load(expected.file);
    const std::size_t faces = mesh.data.FaceCount();
    EXPECT_TRUE(faces >= expected.minFaces && faces <= expected.maxFaces) << faces;
    for (std::uint32_t f = 0; f < faces; ++f) {
      Vec n = mesh.Cross(f);
      ASSERT_GT(n[0] * n[0] + n[1] * n[1] + n[2] * n[2], 1e-14f) << "degenerate face " << f;
    }
    for (const KvXMaterial& material : mesh.data.materials) {
      const std::string& name = material.textureName;
      if (!material.hasTexture) continue;
      EXPECT_EQ(name.rfind("Data\\Texture\\", 0), 0u) << name;
      EXPECT_TRUE(std::filesystem::is_regular_file(RepoPath(name))) << name;
    }
    KV_MODEL model(&device);
    model.Load((std::string("Data\\X\\") + expected.file).c_str());
    ASSERT_NE(model.GetMesh(), nullptr);
    DWORD subsets = 0, textured = 0;
    model.GetMesh()->GetAttributeTable(nullptr, &subsets);
    EXPECT_TRUE(model.materialCount == expected.materials && subsets == expected.materials)
        << model.materialCount << " materials, " << subsets << " subsets";
    for (DWORD i = 0; i < model.materialCount; ++i) textured += model.textures[i] != nullptr;
    EXPECT_GE(textured, 1u);
    EXPECT_NE(model.GetMesh()->GetFVF() & D3DFVF_DIFFUSE, 0u) << "no baked shading";
  }
}

TEST(DataEnvironment, GroundWhereTheSceneStandsAndAnOpenPoolUnderTheHead) {
  const LoadedMesh& env = Load("environment.x");
  std::vector<std::pair<float, float>> spots = {{0, -10}, {2, -5}};
  for (float x = -15; x <= 15; x += 0.5f) spots.push_back({x, 0});  // the path, ±2.5 among it
  for (auto [x, z] : spots) {
    const float ground = env.GroundBelow(x, 5, z);
    EXPECT_TRUE(ground < 0 && ground > -1) << x << "," << z << ": " << ground;
  }
  // Below the mouth at (11, 17, 17) and around it: a floor (not a hole) at least 16 lower,
  // cast from high up so that rock reaching above the mouth is found too.
  for (float r : {0.0f, 1.0f, 2.0f, 2.95f}) {
    for (int a = 0; a < 360; a += 15) {
      const float x = 11 + r * std::sin(float(a) * 0.017453292f);
      const float z = 17 + r * std::cos(float(a) * 0.017453292f);
      const float ground = env.GroundBelow(x, 200, z);
      EXPECT_TRUE(ground <= 1 && ground > -10) << x << "," << z << ": " << ground;
    }
  }
  for (float y : {20.0f, 24.5f}) {  // the cliff behind the head
    KvRayHit hit;
    ASSERT_TRUE(env.Cast({11, y, 0}, {0, 0, 1}, hit));
    EXPECT_TRUE(hit.distance > 19 && hit.distance < 23) << "y " << y << ": " << hit.distance;
  }
}

// From the valley something nearer than the far plane lies in every direction at or above the
// horizon, the sky dome at least 240 straight up; and every face seen, from there or from high
// above the map, is wound counter-clockwise.
TEST(DataEnvironment, SkySurroundsTheValleyAndFacesTheViewerSeesWindCounterClockwise) {
  const LoadedMesh& env = Load("environment.x");
  int hits = 0, wrong = 0;
  for (Vec eye : {Vec{0, 1.5f, -10}, Vec{20, 1.5f, 0}, Vec{-20, 1.5f, 5}, Vec{11, 6, 8},
                  Vec{-25, 3, 0}, Vec{30, 0, -60}}) {
    eye[1] = std::max(eye[1], env.GroundBelow(eye[0], 200, eye[2]) + 3);
    for (int elevation = -60; elevation <= 90; elevation += 10) {
      for (int azimuth = 0; azimuth < 360; azimuth += 10) {
        float distance = Look(env, eye, Direction(azimuth, elevation), false, hits, wrong);
        EXPECT_TRUE(elevation < 0 || distance < 490)
            << "nothing seen from " << eye[0] << "," << eye[2] << " at " << azimuth << "/"
            << elevation;
        EXPECT_TRUE(elevation < 90 || distance > 240) << "sky too low";
      }
    }
  }
  for (float x = -110; x <= 110; x += 10) {
    for (float z = -110; z <= 110; z += 10) Look(env, {x, 200, z}, {0, -1, 0}, false, hits, wrong);
  }
  EXPECT_GT(hits, 2000);
  EXPECT_EQ(wrong, 0);
}

struct ModelView {
  const char* file;
  Vec centre;
  int maxElevation;  // of the viewing direction: 0 for models seen only from above or level
  Vec low, high;     // expected bounds, to within `tolerance`
  float tolerance;
};

void ExpectModel(const ModelView& view) {
  const LoadedMesh& mesh = Load(view.file);
  const Vec c = view.centre;
  int hits = 0, wrong = 0;
  for (int elevation = -90; elevation <= view.maxElevation; elevation += 10) {
    for (int azimuth = 0; azimuth < 360; azimuth += 10) {
      const Vec d = Direction(azimuth, elevation);
      for (float offset : {-0.2f, 0.0f, 0.2f}) {
        Vec eye{c[0] - d[0] * 5 + offset, c[1] - d[1] * 5, c[2] - d[2] * 5 - offset};
        Look(mesh, eye, d, true, hits, wrong);
      }
    }
  }
  EXPECT_GT(hits, 300);
  EXPECT_EQ(wrong, 0);
  Vec low{1e9f, 1e9f, 1e9f}, high{-1e9f, -1e9f, -1e9f};
  for (std::size_t i = 0; i < mesh.data.positions.size(); ++i) {
    low[i % 3] = std::min(low[i % 3], mesh.data.positions[i]);
    high[i % 3] = std::max(high[i % 3], mesh.data.positions[i]);
  }
  for (int axis = 0; axis < 3; ++axis) {
    EXPECT_NEAR(low[axis], view.low[axis], view.tolerance) << "axis " << axis;
    EXPECT_NEAR(high[axis], view.high[axis], view.tolerance) << "axis " << axis;
  }
}

// The fire pit stands on the ground with its origin at the middle of its base; the fountain's
// origin is the top of its spout, its base 1 below; the head hangs above the viewer, its origin
// in the mouth and its face toward -z. Faces the viewer sees wind clockwise.
TEST(DataModels, FacesTheViewerSeesWindClockwiseAndBoundsSuitItsPlace) {
  const ModelView views[] = {
      {"FirePit.x", {0, 0.1f, 0}, 0, {-0.7f, -0.15f, -0.7f}, {0.7f, 0.25f, 0.7f}, 0.1f},
      {"Fountain.x", {0, -0.6f, 0}, 0, {-1, -1, -1}, {1, 0, 1}, 0.05f},
      {"head.x", {0, 0.4f, 0.4f}, 90, {-0.55f, -0.5f, -0.25f}, {0.55f, 1, 1.35f}, 0.15f}};
  for (const ModelView& view : views) {
    SCOPED_TRACE(view.file);
    ExpectModel(view);
  }
}

}  // namespace
