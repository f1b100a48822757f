// Flames scattered over a one-unit square around the emitter that rise, drift, spin at five
// degrees a frame and shrink until they vanish. Roll in degrees; life is not used.
#pragma once

#include "particles/emitter_base.h"

class KV_FIRE_EMITTER final : public KV_EMITTER_BASE {
 public:
  KV_FIRE_EMITTER(IDirect3DDevice9* device, const char* texturePath, D3DCOLOR colorKey,
                  UINT particleCount);

  void UpdateParticle(int index) override;
  void ResetParticle(int index) override;
};
