#include <gtest/gtest.h>

#include <memory>

#include "particles/eruption_emitter.h"
#include "particles/fire_emitter.h"
#include "particles/fountain_emitter.h"
#include "particles/random_source.h"
#include "particles/waterfall_emitter.h"
#include "tests/support/recording_device.h"

namespace {

constexpr const char* kNoTexture = "Data\\Texture\\absent-in-unit-tests.png";

template <typename Kind>
std::unique_ptr<Kind> MakeEmitter(KvRecordingDevice& device, D3DXVECTOR3 at) {
  KvResetRandomSourceForTesting();
  auto emitter = std::make_unique<Kind>(&device, kNoTexture, 0xFF0000FF, 1);
  emitter->SetPosition(at.x, at.y, at.z);
  emitter->SetCameraPosition(0, 0, -10);
  return emitter;
}

// The first spawn of each kind from the generator's starting state (draws 41, 18467, 6334,
// 26500, 19169, 15724, 11478, 29358), then one step of it, at an emitter at the origin. Exact
// values pin the order of the draws as well as each formula.
struct Moment {
  D3DXVECTOR3 position, velocity;
  float rotation, spin, scaleX, scaleY, shrinkX, shrinkY;
  int life;
  float roll;  // the roll angle the step leaves for drawing
};
struct WorkedExample {
  const char* kind;
  void (*check)(const Moment& spawn, const Moment& step);
  Moment spawn, step;
};

void ExpectMoment(const KV_EMITTER_BASE& emitter, const Moment& want, bool step) {
  const KV_PARTICLE& p = emitter.particles[0];
  const float got[] = {p.position.x, p.position.y, p.position.z, p.velocity.x, p.velocity.y,
                       p.velocity.z, p.rotation.z, p.spin.z,     p.scale.x,    p.scale.y,
                       p.scale.z,    p.shrink.x,   p.shrink.y,   float(p.life)};
  const float expected[] = {want.position.x, want.position.y, want.position.z, want.velocity.x,
                            want.velocity.y, want.velocity.z, want.rotation,   want.spin,
                            want.scaleX,     want.scaleY,     want.scaleX,     want.shrinkX,
                            want.shrinkY,    float(want.life)};
  for (int i = 0; i < 14; ++i) EXPECT_NEAR(got[i], expected[i], 2e-6f) << "field " << i;
  if (step) {
    EXPECT_NEAR(emitter.rollAngle, want.roll, 2e-6f);
  }
}

template <typename Kind>
void Check(const Moment& spawn, const Moment& step) {
  KvRecordingDevice device;
  auto emitter = MakeEmitter<Kind>(device, {0, 0, 0});
  KvResetRandomSourceForTesting();
  emitter->ResetParticle(0);
  ExpectMoment(*emitter, spawn, false);
  emitter->UpdateParticle(0);
  ExpectMoment(*emitter, step, true);
}

}  // namespace

TEST(EmitterSpawns, FirstSpawnOfEachKindAndOneStepAfterIt) {
  const float d = 0.017453292f;  // degrees to radians, for the kinds that roll in degrees
  const WorkedExample examples[] = {
      {"fire",
       Check<KV_FIRE_EMITTER>,
       {{-0.09f, 0, 0.17f},
        {-0.011f, 0.05f, 0.014f},
        157.24f,
        5,
        1.78f,
        1.78f,
        0.044f,
        0.044f,
        0,
        0},
       {{-0.101f, 0.05f, 0.184f},
        {-0.011f, 0.05f, 0.014f},
        162.24f,
        5,
        1.736f,
        1.736f,
        0.044f,
        0.044f,
        0,
        162.24f * d}},
      {"fountain",
       Check<KV_FOUNTAIN_EMITTER>,
       {{0, 0, 0}, {-0.004f, 0.217f, -0.011f}, 265, -0.0331f, 1, 1, -0.029f, -0.029f, 58, 0},
       {{-0.004f, 0.217f, -0.011f},
        {-0.004f, 0.207f, -0.011f},
        264.9669f,
        -0.0331f,
        1.029f,
        1.029f,
        -0.029f,
        -0.029f,
        57,
        264.9669f}},
      {"waterfall",
       Check<KV_WATERFALL_EMITTER>,
       {{0, 0, 0}, {-0.004f, 0, 0.002f}, 63.34f, 0, 3.69f, 3.69f, -0.019f, -0.019f, 118, 0},
       {{-0.004f, 0, 0.002f},
        {-0.004f, -0.005f, 0.002f},
        63.34f,
        0,
        3.709f,
        3.709f,
        -0.019f,
        -0.019f,
        117,
        63.34f}},
      {"eruption",
       Check<KV_ERUPTION_EMITTER>,
       {{0, 0, 0}, {0, 0, 0}, 0, 0, 0.191f, 0.191f, -42 / 750.0f, -44 / 750.0f, 110, 0},
       {{0, (0.191f + 44 / 750.0f) / 2, 0},
        {0, 0, 0},
        0,
        0,
        0.191f + 42 / 750.0f,
        0.191f + 44 / 750.0f,
        -42 / 750.0f,
        -44 / 750.0f,
        109,
        0}},
  };
  for (const WorkedExample& example : examples) {
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
      continue;
    }
    ++replaced;
    EXPECT_EQ(p.position.y, 1.0f);  // at its spawn place, not yet risen
    EXPECT_TRUE(p.scale.x >= 1.5f && p.scale.x <= 1.99f);
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
        continue;
      }
      ++replaced;
      // Fresh life as drawn, one velocity step away from the emitter.
      EXPECT_GE(p.life, 55);
      EXPECT_EQ(p.position.x, p.velocity.x);
      EXPECT_FLOAT_EQ(p.position.y, 5 + p.velocity.y + p.gravity);
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
