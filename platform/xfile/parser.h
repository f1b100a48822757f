// Turns the token stream of a .x body into frames and meshes, as the file holds them. Known
// templates are read; everything else is skipped by matching braces.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "platform/xfile/reader.h"
#include "platform/xfile/tokens.h"

struct KvXFrame {
  int parent = -1;  // index into KvXScene::frames, -1 at the top level
  float matrix[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
};

struct KvXParsedMesh {
  int frame = -1;
  std::vector<float> positions;            // x, y, z per vertex
  std::vector<std::uint32_t> faceSizes;    // corners per face
  std::vector<std::uint32_t> corners;      // position index per face corner
  std::vector<float> normals;              // x, y, z per normal
  std::vector<std::uint32_t> normalIndex;  // normal index per face corner; empty without normals
  std::vector<float> texcoords;            // u, v per vertex; empty without coordinates
  std::vector<std::uint32_t> colors;       // ARGB per vertex; empty without colours
  bool hasMaterialList = false;
  std::vector<KvXMaterial> materials;
  // Per face, with a material list. Files commonly give fewer indexes than faces, meaning
  // that the last one repeats; an empty list means material 0.
  std::vector<std::uint32_t> faceMaterials;

  std::uint32_t VertexCount() const { return static_cast<std::uint32_t>(positions.size() / 3); }
};

struct KvXScene {
  std::vector<KvXFrame> frames;
  std::vector<KvXParsedMesh> meshes;
};

class KvXParser {
 public:
  explicit KvXParser(KvXTokenizer& tokens) : tokens_(tokens) {}

  bool ParseFile(KvXScene& scene);
  const std::string& Error() const { return error_; }

 private:
  enum class Handled { kYes, kSkip, kFailed };
  using ObjectHandler = std::function<Handled(std::string_view type)>;
  using ReferenceHandler = std::function<bool(std::string_view name)>;

  // Structure (parser.cpp).
  bool ReadChildren(const ObjectHandler& onObject, const ReferenceHandler& onReference,
                    bool topLevel = false);
  bool FinishObject();
  bool OpenObject(std::string* name = nullptr);
  bool SkipBody();
  bool ReadReference(std::string& name);
  Handled ParseFrameChild(std::string_view type, int frame, int depth);
  bool ParseFrame(int parent, int depth);
  bool ParseFrameMatrix(int frame);
  bool Fail(const char* message);
  static Handled Result(bool ok) { return ok ? Handled::kYes : Handled::kFailed; }

  // Mesh data (mesh_parser.cpp).
  bool ParseMesh(int frame);
  bool ParseNormals(KvXParsedMesh& mesh);
  bool ParseTexcoords(KvXParsedMesh& mesh);
  bool ParseColors(KvXParsedMesh& mesh);
  bool ParseMaterialList(KvXParsedMesh& mesh);
  bool ParseMaterial(KvXMaterial& material);
  bool ParseFaces(std::uint32_t vertexCount, std::vector<std::uint32_t>& sizes,
                  std::vector<std::uint32_t>& corners);
  bool ReadCount(std::uint32_t& count, std::uint32_t numbersEach);
  bool ReadFloats(std::vector<float>& out, std::uint64_t count);
  bool ReadFloats(float* out, int count);

  KvXTokenizer& tokens_;
  KvXScene* scene_ = nullptr;
  std::map<std::string, KvXMaterial, std::less<>> namedMaterials_;
  std::string error_;
};
