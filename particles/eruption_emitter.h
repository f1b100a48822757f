// Motionless columns standing on the plane y = 0 below the emitter, growing faster in height
// than in width until their life ends or their width reaches 5. Roll in degrees (always 0).
#pragma once

#include "particles/emitter_base.h"

class KV_ERUPTION_EMITTER final : public KV_EMITTER_BASE {
 public:
  KV_ERUPTION_EMITTER(IDirect3DDevice9* device, const char* texturePath, D3DCOLOR colorKey,
                      UINT particleCount);

  void UpdateParticle(int index) override;
  void ResetParticle(int index) override;
};
