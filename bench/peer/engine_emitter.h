// One emitter as the engine's own particle-system node, its emitter and affectors tuned to the
// scene's speeds, sizes and lifetimes.
#pragma once

#include <irrlicht.h>

#include "particle_motion.h"

namespace peer {

// scale multiplies the emission rate and so the steady particle count. The engine emits whole
// particles per step and drops the rest, so at scale 1 an emitter holds fewer particles than
// the scene's (about 100 of 125 in all); from scale 8 the counts are within a few percent.
irr::scene::IParticleSystemSceneNode* AddEngineEmitter(irr::scene::ISceneManager* scene,
                                                       EmitterKind kind,
                                                       const irr::core::vector3df& at,
                                                       irr::video::ITexture* texture,
                                                       unsigned scale);

}  // namespace peer
