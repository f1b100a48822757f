// kv_datagen <output-root>: writes the demo's meshes to <output-root>/Data/X/ and its images
// to <output-root>/Data/Texture/. The output depends on nothing but this program, so two
// runs give identical bytes.
#include <cstdio>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "models.h"
#include "textures.h"
#include "xfile_writer.h"

namespace {

using namespace datagen;

struct MeshFile {
  const char* name;
  std::function<Mesh()> build;
};

struct ImageFile {
  const char* name;
  std::function<Image()> make;
};

bool WriteMeshes(const std::filesystem::path& folder) {
  const std::vector<MeshFile> files = {{"environment.x", BuildEnvironment},
                                       {"FirePit.x", BuildFirePit},
                                       {"Fountain.x", BuildFountain},
                                       {"head.x", BuildHead}};
  for (const MeshFile& file : files) {
    Mesh mesh = file.build();
    std::string fault = mesh.Validate();
    if (!fault.empty()) {
      std::fprintf(stderr, "kv_datagen: %s\n", fault.c_str());
      return false;
    }
    std::string text = FormatXFile(mesh);
    std::vector<std::uint8_t> bytes(text.begin(), text.end());
    if (!WriteFile((folder / file.name).string(), bytes)) {
      std::fprintf(stderr, "kv_datagen: cannot write %s\n", file.name);
      return false;
    }
    std::printf("%-16s %6zu vertices %6zu faces %zu materials\n", file.name, mesh.vertices.size(),
                mesh.faces.size(), mesh.materials.size());
  }
  return true;
}

bool WriteImages(const std::filesystem::path& folder) {
  const std::vector<ImageFile> files = {
      {"grass.png", MakeGrassTexture},       {"rock.png", MakeRockTexture},
      {"stone.png", MakeStoneTexture},       {"marble.png", MakeMarbleTexture},
      {"pool.png", MakePoolTexture},         {"ember.png", MakeEmberTexture},
      {"sky.png", MakeSkyTexture},           {"flame.png", MakeFlameTexture},
      {"fountain.png", MakeFountainTexture}, {"water.png", MakeWaterTexture}};
  for (const ImageFile& file : files) {
    if (!WriteFile((folder / file.name).string(), EncodePng(file.make()))) {
      std::fprintf(stderr, "kv_datagen: cannot write %s\n", file.name);
      return false;
    }
  }
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: kv_datagen <output-root>\n");
    return 2;
  }
  std::filesystem::path root(argv[1]);
  std::filesystem::path meshes = root / "Data" / "X";
  std::filesystem::path images = root / "Data" / "Texture";
  std::error_code error;
  std::filesystem::create_directories(meshes, error);
  std::filesystem::create_directories(images, error);
  if (error) {
    std::fprintf(stderr, "kv_datagen: cannot create folders under %s\n", argv[1]);
    return 1;
  }
  return WriteMeshes(meshes) && WriteImages(images) ? 0 : 1;
}
