// Large sheets leaving the emitter point with a small sideways drift that fall faster and
// faster and grow, each living 80 to 159 frames. Roll in radians.
#pragma once

#include "particles/emitter_base.h"

class KV_WATERFALL_EMITTER final : public KV_EMITTER_BASE {
 public:
  KV_WATERFALL_EMITTER(IDirect3DDevice9* device, const char* texturePath, D3DCOLOR colorKey,
                       UINT particleCount);

  void UpdateParticle(int index) override;
  void ResetParticle(int index) override;
};
