// The scene as the peer engine holds it: the four models from Data/ where the demo puts them,
// the three emitters on them and the camera at the opening pose.
#pragma once

#include <irrlicht.h>

#include <vector>

#include "peer_options.h"
#include "quad_emitter_node.h"

namespace peer {

struct PeerScene {
  irr::scene::ICameraSceneNode* camera = nullptr;
  irr::scene::ISceneNode* firePit = nullptr;  // null unless the models are drawn
  irr::scene::ISceneNode* fire = nullptr;     // the fire emitter, of either path
  std::vector<irr::scene::ISceneNode*> emitters;
  std::vector<QuadEmitterNode*> quadEmitters;  // the same nodes, on the quads path
  unsigned particleCount = 0;                  // the scene's count times the scale
};

// Tells the engine where the meshes' textures are and how to load them.
void PrepareLoading(irr::IrrlichtDevice* device);

// Builds the parts of the scene the options ask for; false when a file does not load.
bool BuildScene(irr::IrrlichtDevice* device, const PeerOptions& options, PeerScene& scene);

// The ground probe settles the fire pit on one of two heights in turn, frame by frame;
// the fire goes with it.
void PlaceFirePit(PeerScene& scene, int frame);

}  // namespace peer
