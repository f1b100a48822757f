// The peer's command line: how many frames, which part of the scene, which particle path.
#pragma once

#include <string>

namespace peer {

// How the three emitters are drawn: our quads stepped and built on the CPU (one draw per
// emitter), the engine's own particle-system nodes, or no particles at all.
enum class ParticlePath { kQuads, kEngineNodes, kNone };

// The part of the frame that is drawn: everything, only the clear and present, the terrain
// alone, or the four models without particles.
enum class SceneParts { kAll, kClear, kTerrain, kModels };

struct PeerOptions {
  int frames = 600;  // timed frames (rounds with --stress)
  int warmup = 60;   // untimed frames before them
  ParticlePath particles = ParticlePath::kQuads;
  unsigned scale = 1;  // multiplies every emitter's particle count
  SceneParts parts = SceneParts::kAll;
  bool stress = false;  // time the particle path alone
  std::string shot;     // PNG written from the back buffer of frame shotFrame
  int shotFrame = 120;
};

// Fills options from argv; false, after saying why on stderr, for an unknown option or value.
bool ParseOptions(int argc, char** argv, PeerOptions& options);

const char* NameOf(ParticlePath path);
const char* NameOf(SceneParts parts);

}  // namespace peer
