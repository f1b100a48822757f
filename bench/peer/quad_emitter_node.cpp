#include "quad_emitter_node.h"

#include <algorithm>
#include <cmath>
#include <ctime>

namespace peer {

namespace {

using irr::core::vector3df;
using irr::video::S3DVertex;

// The unit quad's corners in strip order, with the texture mirrored in u as the scene has it.
struct Corner {
  float x, y, u, v;
};
constexpr Corner kCorners[4] = {
    {-0.5f, -0.5f, 1, 1}, {-0.5f, 0.5f, 1, 0}, {0.5f, -0.5f, 0, 1}, {0.5f, 0.5f, 0, 0}};

// The turn about +y that makes the quad's front (-z) face the eye in the horizontal plane;
// 0 when the eye is straight above or below.
float YawToward(const vector3df& at, const vector3df& eye) {
  const float dx = eye.X - at.X;
  const float dz = eye.Z - at.Z;
  const float length = std::sqrt(dx * dx + dz * dz);
  if (length == 0.0f) return 0.0f;
  const float angle = std::acos(std::clamp(-dz / length, -1.0f, 1.0f));
  return at.X <= eye.X ? -angle : angle;
}

}  // namespace

double ThreadCpuSeconds() {
  timespec now{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
  return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

void SetParticleMaterial(irr::video::SMaterial& material, irr::video::ITexture* texture) {
  material.Lighting = false;
  material.BackfaceCulling = false;
  material.ZWriteEnable = true;
  material.setTexture(0, texture);
  material.setFlag(irr::video::EMF_TRILINEAR_FILTER, true);
  material.MaterialType = irr::video::EMT_ONETEXTURE_BLEND;
  material.MaterialTypeParam =
      irr::video::pack_textureBlendFunc(irr::video::EBF_SRC_ALPHA, irr::video::EBF_ONE,
                                        irr::video::EMFN_MODULATE_1X, irr::video::EAS_TEXTURE);
}

QuadEmitterNode::QuadEmitterNode(irr::scene::ISceneManager* scene, EmitterKind kind, unsigned count,
                                 irr::video::ITexture* texture)
    : ISceneNode(scene->getRootSceneNode(), scene),
      kind_(kind),
      particles_(count),
      vertices_(count * 4) {
  SetParticleMaterial(material_, texture);
  BuildIndices();
  setAutomaticCulling(irr::scene::EAC_OFF);
}

// Two triangles per quad, and the corners' fixed colour and texture coordinates.
void QuadEmitterNode::BuildIndices() {
  indices_.reserve(particles_.size() * 6);
  for (irr::u32 first = 0; first < vertices_.size(); first += 4) {
    for (irr::u32 corner : {0u, 1u, 2u, 2u, 1u, 3u}) indices_.push_back(first + corner);
    for (int c = 0; c < 4; ++c) {
      S3DVertex& vertex = vertices_[first + c];
      vertex.TCoords.set(kCorners[c].u, kCorners[c].v);
      vertex.Color.set(255, 255, 255, 255);
      vertex.Normal.set(0, 0, -1);
    }
  }
}

void QuadEmitterNode::OnRegisterSceneNode() {
  if (!IsVisible) return;
  SceneManager->registerNodeForRendering(this, irr::scene::ESNRP_TRANSPARENT);
  ISceneNode::OnRegisterSceneNode();
}

void QuadEmitterNode::render() {
  const double start = ThreadCpuSeconds();
  StepAndBuild(SceneManager->getActiveCamera()->getAbsolutePosition());
  Draw();
  cpuSeconds_ += ThreadCpuSeconds() - start;
}

void QuadEmitterNode::StepAndBuild(const vector3df& eye) {
  const vector3df origin = getPosition();
  for (size_t i = 0; i < particles_.size(); ++i) {
    PeerParticle& particle = particles_[i];
    StepParticle(kind_, particle, origin);
    WriteQuad(particle, YawToward(particle.position, eye), &vertices_[i * 4]);
  }
}

// Each corner is scaled, rolled about z, turned about y and moved to the particle.
void QuadEmitterNode::WriteQuad(const PeerParticle& particle, float yaw, S3DVertex* corners) {
  const float rollCos = std::cos(particle.roll), rollSin = std::sin(particle.roll);
  const float yawCos = std::cos(yaw), yawSin = std::sin(yaw);
  for (int c = 0; c < 4; ++c) {
    const float x = kCorners[c].x * particle.size, y = kCorners[c].y * particle.size;
    const float rolledX = x * rollCos - y * rollSin, rolledY = x * rollSin + y * rollCos;
    corners[c].Pos.set(particle.position.X + rolledX * yawCos, particle.position.Y + rolledY,
                       particle.position.Z - rolledX * yawSin);
  }
}

void QuadEmitterNode::Draw() {
  irr::video::IVideoDriver* driver = SceneManager->getVideoDriver();
  driver->setTransform(irr::video::ETS_WORLD, irr::core::IdentityMatrix);
  driver->setMaterial(material_);
  driver->drawVertexPrimitiveList(vertices_.data(), static_cast<irr::u32>(vertices_.size()),
                                  indices_.data(), static_cast<irr::u32>(particles_.size() * 2),
                                  irr::video::EVT_STANDARD, irr::scene::EPT_TRIANGLES,
                                  irr::video::EIT_32BIT);
}

}  // namespace peer
