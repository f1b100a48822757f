#include "peer_scene.h"

#include <cstdio>

#include "engine_emitter.h"

namespace peer {

namespace {

using irr::core::vector3df;
using irr::video::SColor;

// Positions on the ground as the demo's height probe leaves them: the head stands where it
// is put, the fountain one unit above the ground, the fire pit alternates (PlaceFirePit).
const vector3df kHead(11, 17, 17);
const vector3df kFountain(-2.5f, 0.5458f, 0);
const vector3df kFirePitLow(2.5f, -0.48395f, 0);
const vector3df kFirePitHigh(2.5f, 0, 0);

// Eye two units above the ground, looking along +z.
const vector3df kEye(0, 1.53f, -10);
constexpr float kFieldOfView = 3.1415927f / 2.5f;  // 72 degrees vertical

struct ModelPlacement {
  const char* file;
  vector3df position;
  vector3df rotationDegrees;
  vector3df scale;
  bool cullFront;  // the terrain's triangles wind the other way
};

irr::scene::IMeshSceneNode* AddModel(irr::scene::ISceneManager* scene, const ModelPlacement& m) {
  irr::scene::IAnimatedMesh* animated = scene->getMesh(m.file);
  if (!animated) {
    std::fprintf(stderr, "peer_scene: cannot load %s\n", m.file);
    return nullptr;
  }
  irr::scene::IMesh* mesh = animated->getMesh(0);
  mesh->setHardwareMappingHint(irr::scene::EHM_STATIC);
  irr::scene::IMeshSceneNode* node =
      scene->addMeshSceneNode(mesh, nullptr, -1, m.position, m.rotationDegrees, m.scale);
  node->setMaterialFlag(irr::video::EMF_LIGHTING, false);
  node->setMaterialFlag(irr::video::EMF_TRILINEAR_FILTER, true);
  node->setMaterialFlag(irr::video::EMF_BACK_FACE_CULLING, !m.cullFront);
  node->setMaterialFlag(irr::video::EMF_FRONT_FACE_CULLING, m.cullFront);
  node->setAutomaticCulling(irr::scene::EAC_OFF);
  return node;
}

// The terrain for every part but the clear; the other three, in the demo's drawing order, for
// the models and the whole.
bool AddModels(irr::scene::ISceneManager* scene, SceneParts parts, PeerScene& out) {
  if (parts == SceneParts::kClear) return true;
  const vector3df none(0, 0, 0), unit(1, 1, 1);
  if (!AddModel(scene, {"Data/X/environment.x", none, none, unit, true})) return false;
  if (parts == SceneParts::kTerrain) return true;
  if (!AddModel(scene, {"Data/X/head.x", kHead, {0, 45, 0}, {4, 4, 4}, false})) return false;
  out.firePit = AddModel(scene, {"Data/X/FirePit.x", kFirePitLow, none, unit, false});
  return out.firePit && AddModel(scene, {"Data/X/Fountain.x", kFountain, none, unit, false});
}

// Texels of the key colour become transparent black, as the demo loads its particle textures.
irr::video::ITexture* LoadKeyed(irr::video::IVideoDriver* driver, const char* file, SColor key) {
  irr::video::ITexture* texture = driver->getTexture(file);
  if (!texture) {
    std::fprintf(stderr, "peer_scene: cannot load %s\n", file);
    return nullptr;
  }
  driver->makeColorKeyTexture(texture, key, true);
  texture->regenerateMipMapLevels();
  return texture;
}

struct EmitterPlacement {
  EmitterKind kind;
  unsigned count;
  vector3df at;
  const char* texture;
  SColor key;
};

irr::scene::ISceneNode* AddEmitter(irr::IrrlichtDevice* device, const PeerOptions& options,
                                   const EmitterPlacement& e, PeerScene& out) {
  irr::video::ITexture* texture = LoadKeyed(device->getVideoDriver(), e.texture, e.key);
  if (!texture) return nullptr;
  irr::scene::ISceneManager* scene = device->getSceneManager();
  out.particleCount += e.count * options.scale;
  if (options.particles == ParticlePath::kEngineNodes)
    return AddEngineEmitter(scene, e.kind, e.at, texture, options.scale);
  auto* node = new QuadEmitterNode(scene, e.kind, e.count * options.scale, texture);
  node->setPosition(e.at);
  node->drop();  // the scene graph keeps it
  out.quadEmitters.push_back(node);
  return node;
}

// In the demo's drawing order: the waterfall, the fire, the fountain.
bool AddEmitters(irr::IrrlichtDevice* device, const PeerOptions& options, PeerScene& out) {
  if (options.parts != SceneParts::kAll || options.particles == ParticlePath::kNone) return true;
  const SColor red(255, 255, 0, 0), blue(255, 0, 0, 255);
  const EmitterPlacement table[] = {
      {EmitterKind::kWaterfall, 75, kHead, "Data/Texture/water.png", blue},
      {EmitterKind::kFire, 25, kFirePitLow, "Data/Texture/flame.png", red},
      {EmitterKind::kFountain, 25, kFountain, "Data/Texture/fountain.png", blue}};
  for (const EmitterPlacement& e : table) {
    irr::scene::ISceneNode* node = AddEmitter(device, options, e, out);
    if (!node) return false;
    if (e.kind == EmitterKind::kFire) out.fire = node;
    out.emitters.push_back(node);
  }
  return true;
}

irr::scene::ICameraSceneNode* AddCamera(irr::scene::ISceneManager* scene) {
  irr::scene::ICameraSceneNode* camera =
      scene->addCameraSceneNode(nullptr, kEye, kEye + vector3df(0, 0, 1));
  camera->setFOV(kFieldOfView);
  camera->setAspectRatio(800.0f / 600.0f);
  camera->setNearValue(0.01f);
  camera->setFarValue(500.0f);
  return camera;
}

}  // namespace

// The meshes name their textures with Windows paths under Data\Texture; a folder archive that
// ignores paths finds them by file name. Textures load as 32-bit with mipmaps, and particles
// write depth although they blend.
void PrepareLoading(irr::IrrlichtDevice* device) {
  device->getFileSystem()->addFileArchive("Data/Texture/", true, true, irr::io::EFAT_FOLDER);
  irr::video::IVideoDriver* driver = device->getVideoDriver();
  driver->setTextureCreationFlag(irr::video::ETCF_ALWAYS_32_BIT, true);
  driver->setTextureCreationFlag(irr::video::ETCF_CREATE_MIP_MAPS, true);
  device->getSceneManager()->getParameters()->setAttribute(irr::scene::ALLOW_ZWRITE_ON_TRANSPARENT,
                                                           true);
}

bool BuildScene(irr::IrrlichtDevice* device, const PeerOptions& options, PeerScene& scene) {
  if (!AddModels(device->getSceneManager(), options.parts, scene)) return false;
  if (!AddEmitters(device, options, scene)) return false;
  scene.camera = AddCamera(device->getSceneManager());
  return true;
}

void PlaceFirePit(PeerScene& scene, int frame) {
  const vector3df& at = frame % 2 ? kFirePitLow : kFirePitHigh;
  if (scene.firePit) scene.firePit->setPosition(at);
  if (scene.fire) scene.fire->setPosition(at);
}

}  // namespace peer
