// Drops thrown upward from the emitter point that slow under gravity, fall back and grow,
// each living 55 to 99 frames. Roll in radians.
#pragma once

#include "particles/emitter_base.h"

class KV_FOUNTAIN_EMITTER final : public KV_EMITTER_BASE {
 public:
  KV_FOUNTAIN_EMITTER(IDirect3DDevice9* device, const char* texturePath, D3DCOLOR colorKey,
                      UINT particleCount);

  void UpdateParticle(int index) override;
  void ResetParticle(int index) override;
};
