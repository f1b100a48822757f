#include "engine_emitter.h"

#include "quad_emitter_node.h"

namespace peer {

namespace {

using irr::core::dimension2df;
using irr::core::vector3df;

constexpr float kFrameMs = 17.0f;

// One kind's motion in the engine's terms. Speeds are per frame and lives in frames here;
// the engine wants them per millisecond and in milliseconds.
struct EngineTuning {
  unsigned count;      // particles at scale 1
  unsigned lifeMin;    // frames
  unsigned lifeMax;    // frames
  float spread;        // half-width of the spawn box in x and z
  vector3df velocity;  // at the start, per frame
  int turnDegrees;     // random turn of the starting velocity
  float sizeMin, sizeMax;
  float growth;  // size added over a whole life
  // Gravity turns the velocity, over the longest life, into this vertical speed per frame
  // (0: no gravity).
  float endVerticalVelocity;
};

// Flames burn down from 1.5-2 to nothing as they rise; drops start at 1 and grow by about
// 0.03 a frame while gravity (0.01 a frame) pulls them back; sheets start at 3-4, widen by
// about 0.02 a frame and fall under half that gravity.
EngineTuning TuningFor(EmitterKind kind) {
  switch (kind) {
    case EmitterKind::kFire:
      return {25, 23, 60, 0.5f, {0, 0.075f, 0}, 11, 1.5f, 2.0f, -1.7f, 0};
    case EmitterKind::kFountain:
      return {25, 55, 99, 0, {0, 0.225f, 0}, 4, 1, 1, 2.3f, 0.225f - 0.01f * 99};
    case EmitterKind::kWaterfall:
      return {75, 80, 159, 0, {0.015f, 0, 0}, 180, 3, 4, 2.6f, -0.005f * 159};
  }
  return {};
}

// Particles per second that keep count * scale alive at the mean life. The box emitter is
// used even for a point source: the engine's point emitter sends at most one a step.
irr::scene::IParticleEmitter* CreateEmitter(irr::scene::IParticleSystemSceneNode* node,
                                            const EngineTuning& t, unsigned scale) {
  const float meanLifeMs = 0.5f * static_cast<float>(t.lifeMin + t.lifeMax) * kFrameMs;
  const auto rate =
      static_cast<irr::u32>(static_cast<float>(t.count * scale) * 1000.0f / meanLifeMs);
  const irr::video::SColor white(255, 255, 255, 255);
  return node->createBoxEmitter(
      irr::core::aabbox3df(-t.spread, 0, -t.spread, t.spread, 0, t.spread), t.velocity / kFrameMs,
      rate, rate, white, white, static_cast<irr::u32>(static_cast<float>(t.lifeMin) * kFrameMs),
      static_cast<irr::u32>(static_cast<float>(t.lifeMax) * kFrameMs), t.turnDegrees,
      dimension2df(t.sizeMin, t.sizeMin), dimension2df(t.sizeMax, t.sizeMax));
}

void AddAffectors(irr::scene::IParticleSystemSceneNode* node, const EngineTuning& t) {
  irr::scene::IParticleAffector* grow = node->createScaleParticleAffector({t.growth, t.growth});
  node->addAffector(grow);
  grow->drop();
  if (t.endVerticalVelocity == 0.0f) return;
  irr::scene::IParticleAffector* fall =
      node->createGravityAffector({0, t.endVerticalVelocity / kFrameMs, 0},
                                  static_cast<irr::u32>(static_cast<float>(t.lifeMax) * kFrameMs));
  node->addAffector(fall);
  fall->drop();
}

}  // namespace

irr::scene::IParticleSystemSceneNode* AddEngineEmitter(irr::scene::ISceneManager* scene,
                                                       EmitterKind kind, const vector3df& at,
                                                       irr::video::ITexture* texture,
                                                       unsigned scale) {
  irr::scene::IParticleSystemSceneNode* node =
      scene->addParticleSystemSceneNode(false, nullptr, -1, at);
  const EngineTuning tuning = TuningFor(kind);
  irr::scene::IParticleEmitter* emitter = CreateEmitter(node, tuning, scale);
  node->setEmitter(emitter);
  emitter->drop();
  AddAffectors(node, tuning);
  node->setAutomaticCulling(irr::scene::EAC_OFF);
  SetParticleMaterial(node->getMaterial(0), texture);
  return node;
}

}  // namespace peer
