#include "particles/fountain_emitter.h"

#include "particles/particle_math.h"
#include "particles/random_source.h"

KV_FOUNTAIN_EMITTER::KV_FOUNTAIN_EMITTER(IDirect3DDevice9* device, const char* texturePath,
                                         D3DCOLOR colorKey, UINT particleCount) {
  Initialize(device, texturePath, colorKey, particleCount);
}

void KV_FOUNTAIN_EMITTER::UpdateParticle(int index) {
  KV_PARTICLE& p = particles[index];
  // A drop replaced here is advanced once in this same step.
  p.life -= 1;
  if (p.life <= 0) ResetParticle(index);
  p.position += p.velocity;
  p.rotation += p.spin;
  p.scale -= p.shrink;
  p.velocity.y -= p.gravity;
  rollAngle = p.rotation.z;  // already radians
  // Drops only grow, so in practice they end by their life.
  if (p.scale.x <= 0.0f) ResetParticle(index);
}

// Seven draws, in this order: velocity x, y, z, roll, spin, growth, life.
void KV_FOUNTAIN_EMITTER::ResetParticle(int index) {
  KV_PARTICLE& p = particles[index];
  p.position = position;
  p.velocity.x = KvSpawnRatio(KvRandom() % 30 - 15, 1000.0);
  p.velocity.y = KvSpawnRatio(KvRandom() % 50 + 200, 1000.0);
  p.velocity.z = KvSpawnRatio(KvRandom() % 30 - 15, 1000.0);
  p.rotation = {0.0f, 0.0f, KvSpawnRatio(KvRandom() % 35999, 100.0)};
  p.spin = {0.0f, 0.0f, KvSpawnRatio(KvRandom() % 1000 - 500, 10000.0)};
  p.scale = {1.0f, 1.0f, 1.0f};
  const float shrink = KvSpawnRatio(-(KvRandom() % 10 + 25), 1000.0);
  p.shrink = {shrink, shrink, shrink};
  p.gravity = 0.01f;
  p.life = KvRandom() % 45 + 55;
}
