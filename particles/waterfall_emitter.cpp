#include "particles/waterfall_emitter.h"

#include "particles/particle_math.h"
#include "particles/random_source.h"

KV_WATERFALL_EMITTER::KV_WATERFALL_EMITTER(IDirect3DDevice9* device, const char* texturePath,
                                           D3DCOLOR colorKey, UINT particleCount) {
  Initialize(device, texturePath, colorKey, particleCount);
}

void KV_WATERFALL_EMITTER::UpdateParticle(int index) {
  KV_PARTICLE& p = particles[index];
  // A sheet replaced here is advanced once in this same step. Sheets end only by life.
  p.life -= 1;
  if (p.life <= 0) ResetParticle(index);
  p.position += p.velocity;
  p.rotation += p.spin;
  p.scale -= p.shrink;
  p.velocity.y -= p.gravity;
  rollAngle = p.rotation.z;  // already radians
}

// Seven draws, in this order: velocity x, z, roll, spin, size, growth, life.
void KV_WATERFALL_EMITTER::ResetParticle(int index) {
  KV_PARTICLE& p = particles[index];
  p.position = position;
  p.velocity.x = KvSpawnRatio(KvRandom() % 30 - 15, 1000.0);
  p.velocity.y = 0.0f;
  p.velocity.z = KvSpawnRatio(KvRandom() % 30 - 15, 1000.0);
  p.rotation = {0.0f, 0.0f, KvSpawnRatio(KvRandom() % 35999, 100.0)};
  p.spin = {0.0f, 0.0f, KvSpawnRatio(KvRandom() % 1000 - 500, 10000.0)};
  const float size = KvSpawnRatio(KvRandom() % 100 + 300, 100.0);
  p.scale = {size, size, size};
  const float shrink = KvSpawnRatio(-(KvRandom() % 15 + 15), 1000.0);
  p.shrink = {shrink, shrink, shrink};
  p.gravity = 0.005f;
  p.life = KvRandom() % 80 + 80;
}
