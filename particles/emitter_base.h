// The base of every particle emitter: a fixed pool of particles, one textured unit quad and
// the particle texture. Each frame every particle is advanced by its kind and drawn as the
// quad, scaled, rolled in its own plane, turned about the vertical axis to face the camera
// and moved to the particle's position, with additive blending.
#pragma once

#include "particles/particle.h"
#include "platform/d3d9.h"
#include "platform/d3dx9.h"

class KV_EMITTER_BASE {
 public:
  KV_EMITTER_BASE() = default;
  KV_EMITTER_BASE(const KV_EMITTER_BASE&) = delete;
  KV_EMITTER_BASE& operator=(const KV_EMITTER_BASE&) = delete;

  // Advances particle `index` by one frame, leaves its roll in rollAngle and spawns it again
  // through ResetParticle when it is spent.
  virtual void UpdateParticle(int index) = 0;
  // Spawns particle `index` afresh at `position`, drawing its fields from the random source.
  virtual void ResetParticle(int index) = 0;

  // Creates the quad's vertex buffer, loads the texture (texels of exactly `colorKey` become
  // transparent) and allocates a zero-filled pool. Spawns nothing: the first Render does.
  void Initialize(IDirect3DDevice9* device, const char* texturePath, D3DCOLOR colorKey,
                  UINT particleCount);
  // Where new particles spawn; particles in flight keep going from where they are.
  void SetPosition(float x, float y, float z);
  void SetCameraPosition(float x, float y, float z);
  // Advances and draws every particle once, update and draw interleaved per particle.
  void Render();
  // Scale, roll by rollAngle, yaw toward the camera, move to the particle.
  D3DXMATRIX BuildBillboardMatrix(int index) const;

  IDirect3DDevice9* device = nullptr;              // used, not owned
  IDirect3DVertexBuffer9* vertexBuffer = nullptr;  // the quad; owned
  IDirect3DTexture9* texture = nullptr;            // owned
  KV_PARTICLE* particles = nullptr;                // the pool; owned
  UINT particleCount = 0;
  D3DXVECTOR3 position{};
  D3DXVECTOR3 cameraPosition{};
  // Roll in radians of the particle about to be drawn: written by UpdateParticle and read by
  // the very next BuildBillboardMatrix, which is why updates and draws are interleaved.
  float rollAngle = 0.0f;

 protected:
  // Not virtual: an emitter is deleted through a pointer to its concrete kind.
  ~KV_EMITTER_BASE();

 private:
  void FillVertexBuffer();
};
