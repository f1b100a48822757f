#include "particles/fire_emitter.h"

#include "particles/particle_math.h"
#include "particles/random_source.h"

KV_FIRE_EMITTER::KV_FIRE_EMITTER(IDirect3DDevice9* device, const char* texturePath,
                                 D3DCOLOR colorKey, UINT particleCount) {
  Initialize(device, texturePath, colorKey, particleCount);
}

void KV_FIRE_EMITTER::UpdateParticle(int index) {
  KV_PARTICLE& p = particles[index];
  p.position += p.velocity;
  p.rotation += p.spin;
  p.scale -= p.shrink;
  p.velocity.y -= p.gravity;
  rollAngle = p.rotation.z * kDegreesToRadians;
  // A flame replaced here is drawn at its spawn place with the roll just left above.
  if (p.scale.x <= 0.0f) ResetParticle(index);
}

// Eight draws, in this order: x, z, velocity x, y, z, roll, size, shrink.
void KV_FIRE_EMITTER::ResetParticle(int index) {
  KV_PARTICLE& p = particles[index];
  p.position.x = KvSpawnOffset(position.x, KvRandom() % 100 - 50, 100.0);
  p.position.y = position.y;
  p.position.z = KvSpawnOffset(position.z, KvRandom() % 100 - 50, 100.0);
  const float side = p.position.x - position.x;

  p.velocity.x = KvSpawnRatio(KvRandom() % 30 - 15, 1000.0);
  p.velocity.y = KvSpawnRatio(KvRandom() % 50 + 50, 1000.0);
  p.velocity.z = KvSpawnRatio(KvRandom() % 30 - 15, 1000.0);

  p.rotation = {0.0f, 0.0f, KvSpawnRatio(KvRandom() % 35999, 100.0)};
  // Flames on the emitter's right roll the other way.
  p.spin = {0.0f, 0.0f, 5.0f};
  if (side > 0.0f) p.spin.z = -5.0f;

  const float size = KvSpawnRatio(KvRandom() % 50 + 150, 100.0);
  p.scale = {size, size, size};
  const float shrink = KvSpawnRatio(KvRandom() % 25 + 25, 750.0);
  p.shrink = {shrink, shrink, shrink};
  p.gravity = 0.0f;
}
