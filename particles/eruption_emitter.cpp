#include "particles/eruption_emitter.h"

#include "particles/particle_math.h"
#include "particles/random_source.h"

KV_ERUPTION_EMITTER::KV_ERUPTION_EMITTER(IDirect3DDevice9* device, const char* texturePath,
                                         D3DCOLOR colorKey, UINT particleCount) {
  Initialize(device, texturePath, colorKey, particleCount);
}

void KV_ERUPTION_EMITTER::UpdateParticle(int index) {
  KV_PARTICLE& p = particles[index];
  // A column replaced here is advanced once in this same step.
  p.life -= 1;
  if (p.life <= 0) ResetParticle(index);
  p.position += p.velocity;
  p.rotation += p.spin;
  p.scale -= p.shrink;
  // The centre at half the height puts the column's foot on y = 0, whatever the emitter's
  // height.
  p.position.y = p.scale.y / 2.0f;
  p.velocity.y -= p.gravity;
  rollAngle = p.rotation.z * kDegreesToRadians;
  // A column replaced here is drawn once at the emitter's height, with the roll just left.
  if (p.scale.x >= 5.0f) ResetParticle(index);
}

// Four draws, in this order: size, width growth, height growth, life.
void KV_ERUPTION_EMITTER::ResetParticle(int index) {
  KV_PARTICLE& p = particles[index];
  p.position = position;
  p.velocity = {0.0f, 0.0f, 0.0f};
  p.rotation = {0.0f, 0.0f, 0.0f};
  p.spin = {0.0f, 0.0f, 0.0f};
  const float size = KvSpawnRatio(KvRandom() % 100 + 150, 1000.0);
  p.scale = {size, size, size};
  const float widthGrowth = KvSpawnRatio(-(KvRandom() % 25 + 25), 750.0);
  const float heightGrowth = KvSpawnRatio(-(KvRandom() % 25 + 35), 750.0);
  p.shrink = {widthGrowth, heightGrowth, widthGrowth};
  p.gravity = 0.0f;
  p.life = KvRandom() % 15 + 100;
}
