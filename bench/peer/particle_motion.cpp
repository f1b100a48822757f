#include "particle_motion.h"

#include <cstdint>

namespace peer {

namespace {

using irr::core::vector3df;

constexpr float kRadiansPerDegree = 0.017453292f;

// Fifteen random bits from a xorshift generator. The peer needs the scene's spread of
// values, not any particular sequence.
int Random15() {
  static std::uint32_t state = 0x2545F491u;
  state ^= state << 13;
  state ^= state >> 17;
  state ^= state << 5;
  return static_cast<int>(state >> 17);
}

// A random integer in [low, low + range), divided by scale.
float RandomRatio(int low, int range, float scale) {
  return static_cast<float>(Random15() % range + low) / scale;
}

// Flames start anywhere within half a unit of the pit, rise, and burn down to nothing;
// they roll in degrees, away from the pit's centre line.
void SpawnFlame(PeerParticle& p, const vector3df& origin) {
  p.position.X = origin.X + RandomRatio(-50, 100, 100.0f);
  p.position.Y = origin.Y;
  p.position.Z = origin.Z + RandomRatio(-50, 100, 100.0f);
  p.velocity.set(RandomRatio(-15, 30, 1000.0f), RandomRatio(50, 50, 1000.0f),
                 RandomRatio(-15, 30, 1000.0f));
  p.roll = RandomRatio(0, 35999, 100.0f) * kRadiansPerDegree;
  p.spin = (p.position.X > origin.X ? -5.0f : 5.0f) * kRadiansPerDegree;
  p.size = RandomRatio(150, 50, 100.0f);
  p.shrink = RandomRatio(25, 25, 750.0f);
  p.gravity = 0.0f;
  p.life = 0;
}

// Drops leave the spout upward, fall back under gravity and grow while they live.
void SpawnDrop(PeerParticle& p, const vector3df& origin) {
  p.position = origin;
  p.velocity.set(RandomRatio(-15, 30, 1000.0f), RandomRatio(200, 50, 1000.0f),
                 RandomRatio(-15, 30, 1000.0f));
  p.roll = RandomRatio(0, 35999, 100.0f);
  p.spin = RandomRatio(-500, 1000, 10000.0f);
  p.size = 1.0f;
  p.shrink = -RandomRatio(25, 10, 1000.0f);
  p.gravity = 0.01f;
  p.life = Random15() % 45 + 55;
}

// Sheets of water leave the head sideways, slowly, fall and widen.
void SpawnSheet(PeerParticle& p, const vector3df& origin) {
  p.position = origin;
  p.velocity.set(RandomRatio(-15, 30, 1000.0f), 0.0f, RandomRatio(-15, 30, 1000.0f));
  p.roll = RandomRatio(0, 35999, 100.0f);
  p.spin = RandomRatio(-500, 1000, 10000.0f);
  p.size = RandomRatio(300, 100, 100.0f);
  p.shrink = -RandomRatio(15, 15, 1000.0f);
  p.gravity = 0.005f;
  p.life = Random15() % 80 + 80;
}

void Spawn(EmitterKind kind, PeerParticle& p, const vector3df& origin) {
  switch (kind) {
    case EmitterKind::kFire:
      SpawnFlame(p, origin);
      break;
    case EmitterKind::kFountain:
      SpawnDrop(p, origin);
      break;
    case EmitterKind::kWaterfall:
      SpawnSheet(p, origin);
      break;
  }
}

void Advance(PeerParticle& p) {
  p.position += p.velocity;
  p.roll += p.spin;
  p.size -= p.shrink;
  p.velocity.Y -= p.gravity;
}

}  // namespace

// Flames end when burnt down and are drawn where they restart; drops and sheets that run out
// of life restart and move once in the same frame, and a drop also ends if it ever shrinks away.
void StepParticle(EmitterKind kind, PeerParticle& particle, const vector3df& origin) {
  if (kind != EmitterKind::kFire && --particle.life <= 0) Spawn(kind, particle, origin);
  Advance(particle);
  if (kind != EmitterKind::kWaterfall && particle.size <= 0.0f) Spawn(kind, particle, origin);
}

}  // namespace peer
