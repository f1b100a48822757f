// The per-frame motion of the scene's three emitter kinds, one step per 17 ms frame: where a
// particle starts, how it moves, grows and rolls, and when it starts again.
#pragma once

#include <vector3d.h>

namespace peer {

enum class EmitterKind { kFire, kFountain, kWaterfall };

// A zeroed particle starts on its emitter's first step.
struct PeerParticle {
  irr::core::vector3df position;
  irr::core::vector3df velocity;  // per frame
  float roll = 0;                 // radians about the view axis
  float spin = 0;                 // roll added per frame
  float size = 0;                 // edge of the square quad
  float shrink = 0;               // size taken away per frame (negative: grows)
  float gravity = 0;              // taken from the vertical velocity per frame
  int life = 0;                   // frames left (fountain and waterfall)
};

// Advances one particle by one frame; origin is where its emitter stands now.
void StepParticle(EmitterKind kind, PeerParticle& particle, const irr::core::vector3df& origin);

}  // namespace peer
