// One entry of an emitter's particle pool. Its meaning per field is the same for every kind;
// the kinds differ only in the units of the roll (see the kind's header).
#pragma once

#include "platform/d3dx9.h"

struct KV_PARTICLE {
  D3DXVECTOR3 position;  // world position of the quad's centre
  D3DXVECTOR3 rotation;  // only z is used: the roll of the quad in its own plane
  D3DXVECTOR3 scale;     // width, height, depth of the unit quad
  D3DXVECTOR3 velocity;  // added to position every frame
  D3DXVECTOR3 spin;      // added to rotation every frame
  D3DXVECTOR3 shrink;    // subtracted from scale every frame; negative means growth
  float gravity;         // subtracted from velocity.y every frame
  int life;              // frames left; the fire ignores it
};
