// The shipped images and meshes: small opaque images, particle pictures inside a keyed border,
// meshes that load with their textures, wound so that the faces the viewer sees survive culling,
// shaped as the scene needs (ground, an open pool under the head, a cliff, a sky all around).
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/d3dx9/mesh_raycast.h"
#include "platform/image/image_decode.h"
#include "platform/xfile/reader.h"
#include "scene/model.h"
#include "tests/support/image_files.h"
#include "tests/support/recording_device.h"

namespace {

using Vec = std::array<float, 3>;
const std::string kRoot = KV_SOURCE_DIR "/Data/";

// Every image is a small, opaque PNG. The particle pictures sit inside a border of the key
// colour that reaches nowhere inside them; where a picture meets the key or the edge it has
// faded to black, since the particles are added to the frame; its middle is lit.
TEST(DataImages, SmallOpaqueAndParticlePicturesFadeToBlackInsideAKeyedBorder) {
  const std::map<std::string, DWORD> keys = {
      {"flame.png", 0xFF0000}, {"fountain.png", 0x0000FF}, {"water.png", 0x0000FF}};
  for (const auto& entry : std::filesystem::directory_iterator(kRoot + "Texture")) {
    SCOPED_TRACE(entry.path().string());
    const std::vector<unsigned char> bytes = KvReadBytes(entry.path().string());
    KvTextureImage image;
    ASSERT_EQ(KvDecodeTextureImage(bytes.data(), bytes.size(), 0, 0, 1, 0, image),
              KvImageStatus::kOk);
    const int w = int(image.sourceWidth), h = int(image.sourceHeight);
    const std::vector<DWORD>& texels = image.levels[0].texels;
    EXPECT_EQ(entry.path().extension(), ".png");
    EXPECT_TRUE(std::min(w, h) >= 64 && std::max(w, h) <= 256) << w << " x " << h;
    EXPECT_TRUE(std::all_of(texels.begin(), texels.end(), [](DWORD t) { return t >> 24 == 0xFF; }));
    const auto key = keys.find(entry.path().filename());
    if (key == keys.end()) continue;
    ASSERT_TRUE(h == w && texels.size() == std::size_t(w * w));
    auto isKey = [&](int x, int y) {
      return x < 0 || y < 0 || x >= w || y >= w || (texels[y * w + x] & 0xFFFFFF) == key->second;
    };
    auto bright = [&](int x, int y) {
      const DWORD t = texels[y * w + x];
      return int(std::max({t >> 16 & 0xFF, t >> 8 & 0xFF, t & 0xFF}));
    };
    // Flood the key in from a frame one texel wide around the picture; every key texel must be
    // reached.
    const int side = w + 2;
    std::vector<char> reached(side * side, 0);
    for (std::vector<int> todo = {0}; !todo.empty();) {
      const int at = todo.back(), x = at % side - 1, y = at / side - 1;
      todo.pop_back();
      if (at < 0 || x < -1 || y < -1 || x > w || y > w || reached[at] || !isKey(x, y)) continue;
      reached[at] = 1;
      todo.insert(todo.end(), {at - 1, at + 1, at - side, at + side});
    }
    int stray = 0, brightEdge = 0, keyTexels = 0, centre = 0;
    for (int i = 0; i < w * w; ++i) {
      const int x = i % w, y = i / w;
      keyTexels += isKey(x, y);
      stray += isKey(x, y) && !reached[(y + 1) * side + x + 1];
      brightEdge += !isKey(x, y) && bright(x, y) > 40 &&
                    (isKey(x - 1, y) || isKey(x + 1, y) || isKey(x, y - 1) || isKey(x, y + 1));
      if (std::abs(2 * x + 1 - w) <= 16 && std::abs(2 * y + 1 - w) <= 16) centre += bright(x, y);
    }
    EXPECT_EQ(stray, 0) << "key texels inside the picture";
    EXPECT_EQ(brightEdge, 0) << "picture texels next to the key that are not dark";
    EXPECT_GT(keyTexels, w * w / 8);
    EXPECT_GT(centre, 100 * 256) << "the middle 16 x 16 is not bright";
  }
}

// A shipped mesh and its ray queries.
struct LoadedMesh {
  explicit LoadedMesh(const std::string& name) {
    EXPECT_TRUE(KvReadXFile((kRoot + "X/" + name).c_str(), data)) << name;
    raycast = std::make_unique<KvMeshRaycast>(data.positions.data(), data.VertexCount(),
                                              data.indices.data(), data.FaceCount());
  }
  KvXMeshData data;
  std::unique_ptr<KvMeshRaycast> raycast;

  bool Cast(Vec origin, Vec direction, KvRayHit& hit) const {
    return raycast->Nearest(origin.data(), direction.data(), hit);
  }
  // Height of the first surface straight below (x, fromY, z); -1000 when there is none.
  float GroundBelow(float x, float fromY, float z) const {
    KvRayHit hit;
    return Cast({x, fromY, z}, {0, -1, 0}, hit) ? fromY - hit.distance : -1000.0f;
  }
  // Casts from `eye` along `d` and returns the distance to the face seen (1e30 for none),
  // counting it in `hits` and, when it is wound the wrong way, in `wrong`: the viewer sees the
  // environment's faces wound counter-clockwise, (v1 - v0) x (v2 - v0) pointing away, and the
  // models' clockwise.
  float Look(Vec eye, Vec d, bool clockwise, int& hits, int& wrong) const {
    KvRayHit hit;
    if (!Cast(eye, d, hit)) return 1e30f;
    const float* p[3];
    for (int i = 0; i < 3; ++i) p[i] = &data.positions[data.indices[hit.face * 3 + i] * 3];
    Vec e, f, n;
    for (int i = 0; i < 3; ++i) e[i] = p[1][i] - p[0][i], f[i] = p[2][i] - p[0][i];
    for (int i = 0; i < 3; ++i)
      n[i] = e[(i + 1) % 3] * f[(i + 2) % 3] - e[(i + 2) % 3] * f[(i + 1) % 3];
    const float facing = (n[0] * d[0] + n[1] * d[1] + n[2] * d[2]) / std::hypot(n[0], n[1], n[2]);
    ++hits;
    wrong += clockwise ? facing > 0.01f : facing < -0.01f;
    return hit.distance;
  }
};

Vec Direction(int azimuthDegrees, int elevationDegrees) {
  float a = float(azimuthDegrees) * 0.017453292f, e = float(elevationDegrees) * 0.017453292f;
  return {std::cos(e) * std::sin(a), std::sin(e), std::cos(e) * std::cos(a)};
}

// Through the scene's loader: a subset for every material, the texture of every material that
// names one, and the baked shading in the vertex colours. The models, seen from all around (from
// above or level only for those the viewer never sees from below), show faces wound clockwise.
// The fire pit stands on the ground with its origin at the middle of its base; the fountain's
// origin is the top of its spout, its base 1 below; the head hangs above the viewer, its origin
// in the mouth and its face toward -z.
TEST(DataMeshes, LoadAsModelsWithTheirTexturesAndModelsWindClockwiseAndSuitTheirPlace) {
  const struct {
    const char* file;
    DWORD materials;
    Vec centre;        // of the views from all around
    int maxElevation;  // of the viewing direction
    Vec low, high;     // expected bounds, to within `tolerance`; 0 for the environment
    float tolerance;
  } meshes[] = {
      {"environment.x", 3, {}, 0, {}, {}, 0},
      {"FirePit.x", 2, {0, 0.1f, 0}, 0, {-0.7f, -0.15f, -0.7f}, {0.7f, 0.25f, 0.7f}, 0.1f},
      {"Fountain.x", 2, {0, -0.6f, 0}, 0, {-1, -1, -1}, {1, 0, 1}, 0.05f},
      {"head.x", 2, {0, 0.4f, 0.4f}, 90, {-0.55f, -0.5f, -0.25f}, {0.55f, 1, 1.35f}, 0.15f}};
  KvRecordingDevice device;
  for (const auto& expected : meshes) {
    SCOPED_TRACE(expected.file);
    const LoadedMesh mesh(expected.file);
    KV_MODEL model(&device);
    model.Load((std::string("Data\\X\\") + expected.file).c_str());
    ASSERT_NE(model.GetMesh(), nullptr);
    DWORD subsets = 0;
    model.GetMesh()->GetAttributeTable(nullptr, &subsets);
    EXPECT_TRUE(model.materialCount == expected.materials && subsets == expected.materials)
        << model.materialCount << " materials, " << subsets << " subsets";
    for (DWORD i = 0; i < model.materialCount; ++i) {
      const KvXMaterial& material = mesh.data.materials.at(i);
      EXPECT_EQ(model.textures[i] != nullptr, material.hasTexture) << material.textureName;
    }
    EXPECT_NE(model.GetMesh()->GetFVF() & D3DFVF_DIFFUSE, 0u) << "no baked shading";
    if (expected.tolerance == 0) continue;
    const Vec c = expected.centre;
    int hits = 0, wrong = 0;
    for (int elevation = -90; elevation <= expected.maxElevation; elevation += 10) {
      for (int azimuth = 0; azimuth < 360; azimuth += 10) {
        const Vec d = Direction(azimuth, elevation);
        for (float s : {-0.2f, 0.0f, 0.2f})
          mesh.Look({c[0] - d[0] * 5 + s, c[1] - d[1] * 5, c[2] - d[2] * 5 - s}, d, true, hits,
                    wrong);
      }
    }
    EXPECT_GT(hits, 300);
    EXPECT_EQ(wrong, 0);
    const std::vector<float>& p = mesh.data.positions;
    for (std::size_t axis = 0; axis < 3; ++axis) {
      float low = 1e9f, high = -1e9f;
      for (std::size_t i = axis; i < p.size(); i += 3)
        low = std::min(low, p[i]), high = std::max(high, p[i]);
      EXPECT_NEAR(low, expected.low[axis], expected.tolerance) << "axis " << axis;
      EXPECT_NEAR(high, expected.high[axis], expected.tolerance) << "axis " << axis;
    }
  }
}

// Ground just below 0 along the path and where the models stand; under the mouth at
// (11, 17, 17) and around it a floor (not a hole) at least 16 lower, cast from high up so that
// rock reaching above the mouth is found too; the cliff behind the head. From the valley
// something nearer than the far plane lies in every direction at or above the horizon, the sky
// dome at least 240 straight up; and every face seen, from there or from high above the map, is
// wound counter-clockwise.
TEST(DataEnvironment, GroundPoolCliffAndSkyWhereTheSceneNeedsThemAndWoundCounterClockwise) {
  const LoadedMesh env("environment.x");
  std::vector<std::pair<float, float>> spots = {{0, -10}, {2, -5}};
  for (float x = -15; x <= 15; x += 0.5f) spots.push_back({x, 0});
  for (auto [x, z] : spots) {
    const float ground = env.GroundBelow(x, 5, z);
    EXPECT_TRUE(ground < 0 && ground > -1) << x << "," << z << ": " << ground;
  }
  for (int i = 0; i < 4 * 24; ++i) {
    const float r = i < 24 ? 0.0f : i < 48 ? 1.0f : i < 72 ? 2.0f : 2.95f;
    const Vec d = Direction(i % 24 * 15, 0);
    const float ground = env.GroundBelow(11 + r * d[0], 200, 17 + r * d[2]);
    EXPECT_TRUE(ground <= 1 && ground > -10) << r << " at " << i % 24 * 15 << ": " << ground;
  }
  for (float y : {20.0f, 24.5f}) {
    KvRayHit hit;
    EXPECT_TRUE(env.Cast({11, y, 0}, {0, 0, 1}, hit) && hit.distance > 19 && hit.distance < 23)
        << "no cliff 19 to 23 ahead at y " << y;
  }
  int hits = 0, wrong = 0;
  for (Vec eye : {Vec{0, 1.5f, -10}, Vec{20, 1.5f, 0}, Vec{-20, 1.5f, 5}, Vec{11, 6, 8},
                  Vec{-25, 3, 0}, Vec{30, 0, -60}}) {
    eye[1] = std::max(eye[1], env.GroundBelow(eye[0], 200, eye[2]) + 3);
    for (int elevation = -60; elevation <= 90; elevation += 10) {
      for (int azimuth = 0; azimuth < 360; azimuth += 10) {
        const float distance = env.Look(eye, Direction(azimuth, elevation), false, hits, wrong);
        EXPECT_TRUE((elevation < 0 || distance < 490) && (elevation < 90 || distance > 240))
            << "from " << eye[0] << "," << eye[2] << " at " << azimuth << "/" << elevation << ": "
            << distance;
      }
    }
  }
  for (int i = 0; i < 23 * 23; ++i)  // and from high above
    env.Look({float(i % 23 * 10 - 110), 200, float(i / 23 * 10 - 110)}, {0, -1, 0}, false, hits,
             wrong);
  EXPECT_GT(hits, 2000);
  EXPECT_EQ(wrong, 0);
}

}  // namespace
