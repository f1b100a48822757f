// The emitters on a recording device: the first spawn of each kind worked through, how spent
// particles are replaced, and the quad and texture each emitter makes, uses and gives back.
#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <memory>

#include "particles/billboard_vertex.h"
#include "particles/eruption_emitter.h"
#include "particles/fire_emitter.h"
#include "particles/fountain_emitter.h"
#include "particles/random_source.h"
#include "particles/waterfall_emitter.h"
#include "tests/support/image_files.h"
#include "tests/support/recording_device.h"

namespace {

template <typename Kind>
std::unique_ptr<Kind> MakeEmitter(KvRecordingDevice& device, D3DXVECTOR3 at, UINT count = 1,
                                  const char* texture = "Data\\Texture\\absent.png") {
  KvResetRandomSourceForTesting();
  auto emitter = std::make_unique<Kind>(&device, texture, 0xFFFF0000, count);
  emitter->SetPosition(at.x, at.y, at.z);
  emitter->SetCameraPosition(0, 0, -10);
  return emitter;
}

// Position x y z, velocity x y z, rotation, spin, scale x and y, shrink x and y, life, and the
// roll angle left for drawing (read after the step only).
using Moment = std::array<float, 14>;

Moment Read(const KV_EMITTER_BASE& emitter) {
  const KV_PARTICLE& p = emitter.particles[0];
  return {p.position.x, p.position.y, p.position.z,  p.velocity.x,     p.velocity.y,
          p.velocity.z, p.rotation.z, p.spin.z,      p.scale.x,        p.scale.y,
          p.shrink.x,   p.shrink.y,   float(p.life), emitter.rollAngle};
}

// Spawns the first particle from the generator's starting state, then steps it once.
template <typename Kind>
void Check(const Moment& spawn, const Moment& step) {
  KvRecordingDevice device;
  auto emitter = MakeEmitter<Kind>(device, {0, 0, 0});
  KvResetRandomSourceForTesting();
  emitter->ResetParticle(0);
  Moment got = Read(*emitter);
  for (int i = 0; i < 13; ++i) EXPECT_NEAR(got[i], spawn[i], 2e-6f) << "spawn field " << i;
  emitter->UpdateParticle(0);
  got = Read(*emitter);
  for (int i = 0; i < 14; ++i) EXPECT_NEAR(got[i], step[i], 2e-6f) << "step field " << i;
}

}  // namespace

// The first spawn of each kind (draws 41, 18467, 6334, 26500, 19169, 15724, 11478, 29358) and
// one step of it, at an emitter at the origin. Exact values pin the order of the draws as well
// as each formula.
TEST(EmitterSpawns, FirstSpawnOfEachKindAndOneStepAfterIt) {
  const float d = 0.017453292f, e = 42 / 750.0f, f = 44 / 750.0f;  // degrees to radians
  const struct {
    const char* kind;
    void (*check)(const Moment& spawn, const Moment& step);
    Moment spawn, step;
  } examples[] = {
      {"fire",
       Check<KV_FIRE_EMITTER>,
       {-0.09f, 0, 0.17f, -0.011f, 0.05f, 0.014f, 157.24f, 5, 1.78f, 1.78f, 0.044f, 0.044f, 0},
       {-0.101f, 0.05f, 0.184f, -0.011f, 0.05f, 0.014f, 162.24f, 5, 1.736f, 1.736f, 0.044f, 0.044f,
        0, 162.24f * d}},
      {"fountain",
       Check<KV_FOUNTAIN_EMITTER>,
       {0, 0, 0, -0.004f, 0.217f, -0.011f, 265, -0.0331f, 1, 1, -0.029f, -0.029f, 58},
       {-0.004f, 0.217f, -0.011f, -0.004f, 0.207f, -0.011f, 264.9669f, -0.0331f, 1.029f, 1.029f,
        -0.029f, -0.029f, 57, 264.9669f}},
      {"waterfall",
       Check<KV_WATERFALL_EMITTER>,
       {0, 0, 0, -0.004f, 0, 0.002f, 63.34f, 0, 3.69f, 3.69f, -0.019f, -0.019f, 118},
       {-0.004f, 0, 0.002f, -0.004f, -0.005f, 0.002f, 63.34f, 0, 3.709f, 3.709f, -0.019f, -0.019f,
        117, 63.34f}},
      {"eruption",
       Check<KV_ERUPTION_EMITTER>,
       {0, 0, 0, 0, 0, 0, 0, 0, 0.191f, 0.191f, -e, -f, 110},
       {0, (0.191f + f) / 2, 0, 0, 0, 0, 0, 0, 0.191f + e, 0.191f + f, -e, -f, 109, 0}},
  };
  for (const auto& example : examples) {
    SCOPED_TRACE(example.kind);
    example.check(example.spawn, example.step);
  }
}

TEST(FireEmitter, ReplacesSpentFlamesUnadvancedWithThePreviousRoll) {
  KvRecordingDevice device;
  auto emitter = MakeEmitter<KV_FIRE_EMITTER>(device, {0, 1, 0});
  const KV_PARTICLE& p = emitter->particles[0];
  emitter->UpdateParticle(0);
  int replaced = 0;
  for (int frame = 0; frame < 5000; ++frame) {
    const KV_PARTICLE before = p;
    emitter->UpdateParticle(0);
    const float width = before.scale.x - before.shrink.x;
    EXPECT_EQ(emitter->rollAngle, (before.rotation.z + before.spin.z) * 0.017453292f);
    if (width > 0) {
      EXPECT_EQ(p.scale.x, width);
    } else {  // replaced at its spawn place, not yet risen
      ++replaced;
      EXPECT_TRUE(p.position.y == 1.0f && p.scale.x >= 1.5f && p.scale.x <= 1.99f);
    }
  }
  EXPECT_GT(replaced, 5000 / 60);
}

TEST(FountainAndWaterfallEmitters, EndByLifeAndAdvanceTheFreshParticleAtOnce) {
  KvRecordingDevice device;
  auto fountain = MakeEmitter<KV_FOUNTAIN_EMITTER>(device, {0, 5, 0});
  auto waterfall = MakeEmitter<KV_WATERFALL_EMITTER>(device, {0, 5, 0});
  KV_EMITTER_BASE* emitters[] = {fountain.get(), waterfall.get()};
  for (KV_EMITTER_BASE* emitter : emitters) {
    const KV_PARTICLE& p = emitter->particles[0];
    int replaced = 0;
    for (int frame = 0; frame < 2000; ++frame) {
      const KV_PARTICLE before = p;
      emitter->UpdateParticle(0);
      EXPECT_EQ(emitter->rollAngle, p.rotation.z);  // radians, the particle's own
      if (before.life - 1 > 0) {
        EXPECT_EQ(p.life, before.life - 1);
        EXPECT_EQ(p.position.y, before.position.y + before.velocity.y);
      } else {  // fresh life as drawn, one velocity step away from the emitter
        ++replaced;
        EXPECT_TRUE(p.life >= 55 && p.position.x == p.velocity.x) << p.life;
        EXPECT_FLOAT_EQ(p.position.y, 5 + p.velocity.y + p.gravity);
      }
    }
    EXPECT_GT(replaced, 2000 / 160);
  }
}

TEST(EruptionEmitter, ColumnsStandOnTheGroundAndEndByWidthOrLife) {
  KvRecordingDevice device;
  auto emitter = MakeEmitter<KV_ERUPTION_EMITTER>(device, {2, 9, 3});
  const KV_PARTICLE& p = emitter->particles[0];
  int byWidth = 0, byLife = 0;
  for (int frame = 0; frame < 20000; ++frame) {
    const KV_PARTICLE before = p;
    emitter->UpdateParticle(0);
    EXPECT_TRUE(p.position.x == 2 && p.position.z == 3);
    if (before.life - 1 <= 0) {
      ++byLife;
      EXPECT_EQ(p.position.y, p.scale.y / 2);  // advanced once, already on the ground
    } else if (before.scale.x - before.shrink.x >= 5) {
      ++byWidth;
      EXPECT_EQ(p.position.y, 9.0f);  // drawn once unadvanced at the emitter's height
      EXPECT_LT(p.scale.x, 0.25f);
    } else {
      EXPECT_EQ(p.position.y, p.scale.y / 2);
      EXPECT_EQ(p.life, before.life - 1);
    }
  }
  EXPECT_GT(byWidth, 0);
  EXPECT_GT(byLife, 0);
}

// The quad is written into the buffer, the key colour is taken out of the texture, and both go
// with the emitter; a buffer that cannot be made or filled and a missing texture still draw.
TEST(EmitterResources, QuadTextureReleaseAndFailedBufferOrLockOrTexture) {
  KvRecordingDevice device;
  KvTempFolder folder;
  KvWriteBmp(folder.Path("red_green.bmp"), 2, 1, {0xFFFF0000, 0xFF00FF00});
  {
    auto emitter = MakeEmitter<KV_ERUPTION_EMITTER>(device, {1, 2, 3}, 3,
                                                    folder.Path("red_green.bmp").c_str());
    const auto* quad = static_cast<KvMemoryBuffer<IDirect3DVertexBuffer9>*>(emitter->vertexBuffer);
    EXPECT_EQ(std::memcmp(quad->Bytes().data(), kBillboardQuad, 80), 0);
    ASSERT_NE(emitter->texture, nullptr);  // the red texel is keyed out, the green kept
    const auto& texels = static_cast<KvMemoryTexture*>(emitter->texture)->Texels(0);
    EXPECT_EQ(std::pair(texels[0], texels[1]), std::pair(0u, 0xFF00FF00u));
    emitter->Render();
    EXPECT_EQ(device.texture0, emitter->texture);
  }
  EXPECT_EQ(std::pair(device.liveResources, device.RefCount()), std::pair(0, 1u));  // none too many

  device.bufferLockResult = D3DERR_INVALIDCALL;
  auto unfilled = MakeEmitter<KV_FIRE_EMITTER>(device, {1, 2, 3}, 2);
  EXPECT_NE(unfilled->vertexBuffer, nullptr);
  EXPECT_EQ(unfilled->texture, nullptr);
  device.createVertexBufferResult = D3DERR_OUTOFVIDEOMEMORY;
  auto bufferless = MakeEmitter<KV_FIRE_EMITTER>(device, {1, 2, 3}, 2);
  EXPECT_EQ(bufferless->vertexBuffer, nullptr);
  device.draws.clear();
  unfilled->Render();
  bufferless->Render();
  EXPECT_EQ(device.draws.size(), 4u);
}
