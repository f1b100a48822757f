// The mesh templates: Mesh, MeshNormals, MeshTextureCoords, MeshVertexColors,
// MeshMaterialList and Material. Every count is checked against what the rest of the input
// can hold before anything is sized by it, and every index against what it indexes.
#include "platform/xfile/parser.h"

namespace {

constexpr std::size_t kMaxTextureName = 1024;

std::uint32_t ColorChannel(float value) {
  if (!(value > 0)) return 0;  // NaN too
  if (value >= 1) return 255;
  return static_cast<std::uint32_t>(value * 255.0f + 0.5f);
}

std::uint32_t Argb(const float rgba[4]) {
  return ColorChannel(rgba[3]) << 24 | ColorChannel(rgba[0]) << 16 | ColorChannel(rgba[1]) << 8 |
         ColorChannel(rgba[2]);
}

}  // namespace

bool KvXParser::ReadCount(std::uint32_t& count, std::uint32_t numbersEach) {
  if (!tokens_.ReadUInt(count)) return Fail("expected a count");
  if (std::uint64_t{count} * numbersEach > tokens_.MaxNumbersLeft()) {
    return Fail("count larger than the file can hold");
  }
  return true;
}

bool KvXParser::ReadFloats(std::vector<float>& out, std::uint64_t count) {
  out.clear();
  out.reserve(count);  // callers have checked count with ReadCount
  for (std::uint64_t i = 0; i < count; ++i) {
    float value;
    if (!tokens_.ReadFloat(value)) return Fail("expected a number");
    out.push_back(value);
  }
  return true;
}

bool KvXParser::ReadFloats(float* out, int count) {
  for (int i = 0; i < count; ++i) {
    if (!tokens_.ReadFloat(out[i])) return Fail("expected a number");
  }
  return true;
}

bool KvXParser::ParseFaces(std::uint32_t vertexCount, std::vector<std::uint32_t>& sizes,
                           std::vector<std::uint32_t>& corners) {
  std::uint32_t faceCount;
  if (!ReadCount(faceCount, 1)) return false;
  sizes.clear();
  sizes.reserve(faceCount);
  corners.clear();
  for (std::uint32_t face = 0; face < faceCount; ++face) {
    std::uint32_t size;
    if (!ReadCount(size, 1)) return false;
    for (std::uint32_t i = 0; i < size; ++i) {
      std::uint32_t index;
      if (!tokens_.ReadUInt(index)) return Fail("expected an index");
      if (index >= vertexCount) return Fail("index out of range");
      corners.push_back(index);
    }
    sizes.push_back(size);
  }
  return true;
}

bool KvXParser::ParseMesh(int frame) {
  KvXParsedMesh mesh;
  mesh.frame = frame;
  std::uint32_t vertexCount;
  if (!OpenObject() || !ReadCount(vertexCount, 3) ||
      !ReadFloats(mesh.positions, std::uint64_t{vertexCount} * 3) ||
      !ParseFaces(vertexCount, mesh.faceSizes, mesh.corners)) {
    return false;
  }
  const bool ok = ReadChildren(
      [this, &mesh](std::string_view type) {
        if (type == "MeshNormals") return Result(ParseNormals(mesh));
        if (type == "MeshTextureCoords") return Result(ParseTexcoords(mesh));
        if (type == "MeshVertexColors") return Result(ParseColors(mesh));
        if (type == "MeshMaterialList") return Result(ParseMaterialList(mesh));
        return Handled::kSkip;
      },
      [](std::string_view) { return true; });
  if (!ok) return false;
  scene_->meshes.push_back(std::move(mesh));
  return true;
}

bool KvXParser::ParseNormals(KvXParsedMesh& mesh) {
  std::uint32_t normalCount;
  std::vector<std::uint32_t> sizes;
  if (!OpenObject() || !ReadCount(normalCount, 3) ||
      !ReadFloats(mesh.normals, std::uint64_t{normalCount} * 3) ||
      !ParseFaces(normalCount, sizes, mesh.normalIndex)) {
    return false;
  }
  if (sizes != mesh.faceSizes) return Fail("normal faces differ from the mesh faces");
  return FinishObject();
}

bool KvXParser::ParseTexcoords(KvXParsedMesh& mesh) {
  std::uint32_t count;
  if (!OpenObject() || !ReadCount(count, 2)) return false;
  if (count != mesh.VertexCount()) return Fail("texture coordinate count differs from vertices");
  return ReadFloats(mesh.texcoords, std::uint64_t{count} * 2) && FinishObject();
}

bool KvXParser::ParseColors(KvXParsedMesh& mesh) {
  std::uint32_t count;
  if (!OpenObject() || !ReadCount(count, 5)) return false;
  // Filled once, so that repeated colour objects cost only their own entries.
  if (mesh.colors.empty()) mesh.colors.assign(mesh.VertexCount(), 0xFFFFFFFFu);
  for (std::uint32_t i = 0; i < count; ++i) {
    std::uint32_t index;
    float rgba[4];
    if (!tokens_.ReadUInt(index)) return Fail("expected a vertex index");
    if (index >= mesh.VertexCount()) return Fail("colour index out of range");
    if (!ReadFloats(rgba, 4)) return false;
    mesh.colors[index] = Argb(rgba);
  }
  return FinishObject();
}

bool KvXParser::ParseMaterialList(KvXParsedMesh& mesh) {
  std::uint32_t materialCount, indexCount;
  if (!OpenObject()) return false;
  if (!tokens_.ReadUInt(materialCount)) return Fail("expected a material count");
  if (!ReadCount(indexCount, 1)) return false;
  std::vector<std::uint32_t> indexes;
  indexes.reserve(indexCount);
  for (std::uint32_t i = 0; i < indexCount; ++i) {
    std::uint32_t index;
    if (!tokens_.ReadUInt(index)) return Fail("expected a material index");
    if (index >= materialCount) return Fail("material index out of range");
    indexes.push_back(index);
  }
  mesh.materials.clear();
  const bool ok = ReadChildren(
      [this, &mesh](std::string_view type) {
        if (type != "Material") return Handled::kSkip;
        mesh.materials.emplace_back();
        return Result(ParseMaterial(mesh.materials.back()));
      },
      [this, &mesh](std::string_view name) {
        const auto found = namedMaterials_.find(name);
        if (found == namedMaterials_.end()) return Fail("reference to an unknown material");
        mesh.materials.push_back(found->second);
        return true;
      });
  if (!ok) return false;
  if (mesh.materials.size() != materialCount) return Fail("material count differs from list");
  if (materialCount == 0 && !mesh.faceSizes.empty()) return Fail("faces without a material");
  if (indexes.size() > mesh.faceSizes.size()) indexes.resize(mesh.faceSizes.size());
  mesh.faceMaterials = std::move(indexes);
  mesh.hasMaterialList = true;
  return true;
}

bool KvXParser::ParseMaterial(KvXMaterial& material) {
  std::string name;
  float face[4], power, specular[3], emissive[3];
  if (!OpenObject(&name) || !ReadFloats(face, 4) || !ReadFloats(&power, 1) ||
      !ReadFloats(specular, 3) || !ReadFloats(emissive, 3)) {
    return false;
  }
  D3DMATERIAL9& m = material.material;
  m = {};
  m.Diffuse = {face[0], face[1], face[2], face[3]};
  m.Specular = {specular[0], specular[1], specular[2], 1.0f};
  m.Emissive = {emissive[0], emissive[1], emissive[2], 1.0f};
  m.Power = power;
  const bool ok = ReadChildren(
      [this, &material](std::string_view type) {
        if (type != "TextureFilename" && type != "TextureFileName") return Handled::kSkip;
        std::string file;
        if (!OpenObject()) return Handled::kFailed;
        if (!tokens_.ReadString(file)) return Result(Fail("expected a texture name"));
        // Every material that refers to this one copies the name: keep that copy bounded.
        if (file.size() > kMaxTextureName) return Result(Fail("texture name too long"));
        if (!material.hasTexture) material.textureName = std::move(file);
        material.hasTexture = true;
        return Result(FinishObject());
      },
      [](std::string_view) { return true; });
  if (!ok) return false;
  if (!name.empty()) namedMaterials_.insert_or_assign(name, material);
  return true;
}
