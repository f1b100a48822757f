// One emitter as a scene node that steps its particles and draws them all with one call: each
// particle a square turned about the vertical axis toward the eye and rolled in its plane, its
// four corners written on the CPU into one vertex array.
#pragma once

#include <irrlicht.h>

#include <vector>

#include "particle_motion.h"

namespace peer {

class QuadEmitterNode : public irr::scene::ISceneNode {
 public:
  // The node stands at the emitter's origin; move it with setPosition.
  QuadEmitterNode(irr::scene::ISceneManager* scene, EmitterKind kind, unsigned count,
                  irr::video::ITexture* texture);

  void OnRegisterSceneNode() override;
  // Steps every particle once, rebuilds the quads and draws them.
  void render() override;

  const irr::core::aabbox3df& getBoundingBox() const override { return bounds_; }
  irr::u32 getMaterialCount() const override { return 1; }
  irr::video::SMaterial& getMaterial(irr::u32) override { return material_; }

  // Thread CPU seconds spent in render() since the last reset.
  double cpuSeconds() const { return cpuSeconds_; }
  void resetCpuSeconds() { cpuSeconds_ = 0; }

 private:
  void BuildIndices();
  void StepAndBuild(const irr::core::vector3df& eye);
  void WriteQuad(const PeerParticle& particle, float yaw, irr::video::S3DVertex* corners);
  void Draw();

  EmitterKind kind_;
  std::vector<PeerParticle> particles_;
  std::vector<irr::video::S3DVertex> vertices_;
  std::vector<irr::u32> indices_;
  irr::video::SMaterial material_;
  irr::core::aabbox3df bounds_{-1000, -1000, -1000, 1000, 1000, 1000};
  double cpuSeconds_ = 0;
};

// Additive blending of the texture by its alpha, depth written, lighting off, trilinear
// filtering: the particle material of both particle paths.
void SetParticleMaterial(irr::video::SMaterial& material, irr::video::ITexture* texture);

// CPU time of the calling thread, in seconds.
double ThreadCpuSeconds();

}  // namespace peer
