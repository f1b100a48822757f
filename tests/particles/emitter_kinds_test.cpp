#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <vector>

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

// n / d as a spawn formula keeps it: divided in double precision, stored as float.
constexpr auto Q = [](int n, double d) { return static_cast<float>(n / d); };

// One spawned quantity and the values it may take. With `reached`, both ends must turn up
// over many spawns, which catches a wrong modulus or offset as well as a value outside.
struct Bound {
  float (*read)(const KV_PARTICLE&);
  float low, high;
  bool reached = true;
};
#define FIELD(expr) [](const KV_PARTICLE& p) { return static_cast<float>(expr); }
#define SAME3(v) FIELD(std::abs(p.v.y - p.v.x) + std::abs(p.v.z - p.v.x)), 0, 0

void ExpectSpawns(const char* kind, KV_EMITTER_BASE& emitter, const std::vector<Bound>& bounds) {
  std::vector<float> low(bounds.size(), 1e30f), high(bounds.size(), -1e30f);
  for (int spawn = 0; spawn < 3000; ++spawn) {
    emitter.ResetParticle(0);
    for (std::size_t b = 0; b < bounds.size(); ++b) {
      const float value = bounds[b].read(emitter.particles[0]);
      low[b] = std::min(low[b], value);
      high[b] = std::max(high[b], value);
    }
  }
  for (std::size_t b = 0; b < bounds.size(); ++b) {
    const Bound& want = bounds[b];
    SCOPED_TRACE(testing::Message()
                 << kind << " bound " << b << ": " << low[b] << " to " << high[b]);
    EXPECT_TRUE(low[b] >= want.low && high[b] <= want.high);
    EXPECT_TRUE(!want.reached || (low[b] == want.low && high[b] == want.high));
  }
}

}  // namespace

// Fire flames scatter, rise and spin away on their right; fountain drops leave the emitter
// point upward; waterfall sheets drift sideways only; eruption columns stand still.
TEST(EmitterSpawns, EachKindDrawsItsFieldsFromTheirRanges) {
  KvRecordingDevice device;
  ExpectSpawns("fire", *MakeEmitter<KV_FIRE_EMITTER>(device, {0, 1.25f, 0}),
               {{FIELD(p.position.x), -0.5f, 0.49f},
                {FIELD(p.position.y), 1.25f, 1.25f},
                {FIELD(p.position.z), -0.5f, 0.49f},
                {FIELD(p.velocity.x), Q(-15, 1000), Q(14, 1000)},
                {FIELD(p.velocity.y), Q(50, 1000), Q(99, 1000)},
                {FIELD(p.velocity.z), Q(-15, 1000), Q(14, 1000)},
                {FIELD(p.rotation.z), 0, 327.67f, false},
                {FIELD(p.spin.z * (p.position.x > 0 ? -1 : 1)), 5, 5},
                {FIELD(p.scale.x), 1.5f, 1.99f},
                {SAME3(scale)},
                {FIELD(p.shrink.x), Q(25, 750), Q(49, 750)},
                {SAME3(shrink)},
                {FIELD(p.gravity), 0, 0}});
  ExpectSpawns("fountain", *MakeEmitter<KV_FOUNTAIN_EMITTER>(device, {0, 0, 0}),
               {{FIELD(D3DXVec3Length(&p.position)), 0, 0},
                {FIELD(p.velocity.x), Q(-15, 1000), Q(14, 1000)},
                {FIELD(p.velocity.y), Q(200, 1000), Q(249, 1000)},
                {FIELD(p.velocity.z), Q(-15, 1000), Q(14, 1000)},
                {FIELD(p.rotation.z), 0, 327.67f, false},
                {FIELD(p.spin.z), Q(-500, 10000), Q(499, 10000)},
                {FIELD(p.scale.x * p.scale.y * p.scale.z), 1, 1},
                {FIELD(p.shrink.x), Q(-34, 1000), Q(-25, 1000)},
                {SAME3(shrink)},
                {FIELD(p.gravity), 0.01f, 0.01f},
                {FIELD(p.life), 55, 99}});
  ExpectSpawns("waterfall", *MakeEmitter<KV_WATERFALL_EMITTER>(device, {0, 0, 0}),
               {{FIELD(D3DXVec3Length(&p.position)), 0, 0},
                {FIELD(p.velocity.x), Q(-15, 1000), Q(14, 1000)},
                {FIELD(p.velocity.y), 0, 0},
                {FIELD(p.velocity.z), Q(-15, 1000), Q(14, 1000)},
                {FIELD(p.rotation.z), 0, 327.67f, false},
                {FIELD(p.spin.z), Q(-500, 10000), Q(499, 10000)},
                {FIELD(p.scale.x), 3.0f, 3.99f},
                {SAME3(scale)},
                {FIELD(p.shrink.x), Q(-29, 1000), Q(-15, 1000)},
                {SAME3(shrink)},
                {FIELD(p.gravity), 0.005f, 0.005f},
                {FIELD(p.life), 80, 159}});
  ExpectSpawns("eruption", *MakeEmitter<KV_ERUPTION_EMITTER>(device, {0, 0, 0}),
               {{FIELD(D3DXVec3Length(&p.position) + D3DXVec3Length(&p.velocity)), 0, 0},
                {FIELD(D3DXVec3Length(&p.rotation) + D3DXVec3Length(&p.spin)), 0, 0},
                {FIELD(p.scale.x), 0.15f, 0.249f},
                {SAME3(scale)},
                {FIELD(p.shrink.x), Q(-49, 750), Q(-25, 750)},
                {FIELD(p.shrink.y), Q(-59, 750), Q(-35, 750)},
                {FIELD(p.shrink.z - p.shrink.x), 0, 0},
                {FIELD(p.gravity), 0, 0},
                {FIELD(p.life), 100, 114}});
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
