// The shipped scene with its particle pools scaled up, for the particle stress checks: the
// three emitters are made again with `factor` times their particles, at the same places.
#pragma once

#include "app/application.h"

// Particles in the three shipped emitters together.
constexpr int kShippedParticles = 25 + 25 + 75;

void KvScaleEmitterPools(KV_APPLICATION& app, int factor);
