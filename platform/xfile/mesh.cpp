// Building the single output mesh. Matrices are row-major in the row-vector convention, so a
// mesh in a frame is placed by p x frame x parent x ... x root.
#include "platform/xfile/mesh.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>
#include <unordered_map>

namespace {

using Matrix = std::array<float, 16>;

constexpr std::uint32_t kWhite = 0xFFFFFFFFu;

Matrix Multiply(const Matrix& a, const float* b) {
  Matrix r{};
  for (int row = 0; row < 4; ++row) {
    for (int col = 0; col < 4; ++col) {
      for (int k = 0; k < 4; ++k) r[row * 4 + col] += a[row * 4 + k] * b[k * 4 + col];
    }
  }
  return r;
}

Matrix WorldMatrix(const KvXScene& scene, int frame) {
  Matrix m = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
  // A frame's parent is always recorded before it, so this walk ends at the top level.
  for (int f = frame; f >= 0; f = scene.frames[f].parent) m = Multiply(m, scene.frames[f].matrix);
  return m;
}

KvXMaterial DefaultMaterial() {
  KvXMaterial material;
  material.material = {};
  material.material.Diffuse = {0.5f, 0.5f, 0.5f, 0.0f};
  material.material.Specular = {0.5f, 0.5f, 0.5f, 0.0f};
  return material;
}

// Which per-vertex arrays the output has: those that at least one mesh of the file has.
struct Channels {
  bool normals = false;
  bool texcoords = false;
  bool colors = false;
};

class MeshAppender {
 public:
  MeshAppender(const KvXScene& scene, const KvXParsedMesh& mesh, Channels channels,
               KvXMeshData& out)
      : mesh_(mesh), world_(WorldMatrix(scene, mesh.frame)), channels_(channels), out_(out) {}

  void Append() {
    const std::uint32_t materialBase = static_cast<std::uint32_t>(out_.materials.size());
    MakeVertices();
    AppendTriangles(materialBase);
    if (mesh_.hasMaterialList) {
      out_.materials.insert(out_.materials.end(), mesh_.materials.begin(), mesh_.materials.end());
    } else {
      out_.materials.push_back(DefaultMaterial());
    }
  }

 private:
  // The file's vertices keep their numbers, as in the platform's own loader. With normals, a
  // vertex takes the normal of the first corner that uses it; a corner with another normal (by
  // value) uses a copy of the vertex with that normal, appended after the file's vertices and
  // shared by every corner of that vertex with the same normal.
  void MakeVertices() {
    const std::uint32_t base = static_cast<std::uint32_t>(out_.VertexCount());
    const std::uint32_t count = mesh_.VertexCount();
    cornerVertex_.resize(mesh_.corners.size());
    std::vector<const float*> normalOf(count, nullptr);
    std::vector<std::pair<std::uint32_t, const float*>> copies;      // file vertex, normal
    std::unordered_multimap<std::uint32_t, std::uint32_t> copiesOf;  // file vertex -> copy
    for (std::size_t c = 0; c < mesh_.corners.size(); ++c) {
      const std::uint32_t v = mesh_.corners[c];
      cornerVertex_[c] = base + v;
      if (mesh_.normalIndex.empty()) continue;
      const float* normal = &mesh_.normals[3 * mesh_.normalIndex[c]];
      if (!normalOf[v]) normalOf[v] = normal;
      if (SameNormal(normalOf[v], normal)) continue;
      cornerVertex_[c] = CopyOf(v, normal, copies, copiesOf, base + count);
    }
    for (std::uint32_t v = 0; v < count; ++v) AppendVertex(v, normalOf[v]);
    for (const auto& [v, normal] : copies) AppendVertex(v, normal);
  }

  static bool SameNormal(const float* a, const float* b) {
    return a[0] == b[0] && a[1] == b[1] && a[2] == b[2];
  }

  // The copy of vertex v with this normal, made when there is none yet.
  static std::uint32_t CopyOf(std::uint32_t v, const float* normal,
                              std::vector<std::pair<std::uint32_t, const float*>>& copies,
                              std::unordered_multimap<std::uint32_t, std::uint32_t>& copiesOf,
                              std::uint32_t firstCopy) {
    const auto [begin, end] = copiesOf.equal_range(v);
    for (auto it = begin; it != end; ++it) {
      if (SameNormal(copies[it->second].second, normal)) return firstCopy + it->second;
    }
    const auto copy = static_cast<std::uint32_t>(copies.size());
    copies.emplace_back(v, normal);
    copiesOf.emplace(v, copy);
    return firstCopy + copy;
  }

  void AppendVertex(std::uint32_t v, const float* normal) {
    const float* p = &mesh_.positions[3 * v];
    for (int i = 0; i < 3; ++i) {
      out_.positions.push_back(p[0] * world_[i] + p[1] * world_[4 + i] + p[2] * world_[8 + i] +
                               world_[12 + i]);
    }
    if (channels_.normals) AppendNormal(normal);
    if (channels_.texcoords) {
      const bool has = !mesh_.texcoords.empty();
      out_.texcoords.push_back(has ? mesh_.texcoords[2 * v] : 0.0f);
      out_.texcoords.push_back(has ? mesh_.texcoords[2 * v + 1] : 0.0f);
    }
    if (channels_.colors) out_.colors.push_back(mesh_.colors.empty() ? kWhite : mesh_.colors[v]);
  }

  // Normals turn with the upper 3 x 3 of the matrix and are renormalised.
  void AppendNormal(const float* normal) {
    float n[3] = {0, 0, 0};
    if (normal) {
      for (int i = 0; i < 3; ++i) {
        n[i] = normal[0] * world_[i] + normal[1] * world_[4 + i] + normal[2] * world_[8 + i];
      }
      const float length = std::sqrt(n[0] * n[0] + n[1] * n[1] + n[2] * n[2]);
      if (length > 0) {
        for (float& x : n) x /= length;
      }
    }
    out_.normals.insert(out_.normals.end(), n, n + 3);
  }

  // Polygons become fans from their first corner: (0, i, i + 1).
  void AppendTriangles(std::uint32_t materialBase) {
    std::size_t first = 0;
    for (std::size_t face = 0; face < mesh_.faceSizes.size(); ++face) {
      const std::uint32_t size = mesh_.faceSizes[face];
      const std::vector<std::uint32_t>& materials = mesh_.faceMaterials;
      const std::uint32_t material =
          materials.empty() ? 0 : materials[std::min(face, materials.size() - 1)];
      for (std::uint32_t i = 1; i + 1 < size; ++i) {
        out_.indices.push_back(cornerVertex_[first]);
        out_.indices.push_back(cornerVertex_[first + i]);
        out_.indices.push_back(cornerVertex_[first + i + 1]);
        out_.attributes.push_back(materialBase + material);
      }
      first += size;
    }
  }

  const KvXParsedMesh& mesh_;
  const Matrix world_;
  const Channels channels_;
  KvXMeshData& out_;
  std::vector<std::uint32_t> cornerVertex_;
};

}  // namespace

bool KvBuildXMesh(const KvXScene& scene, KvXMeshData& out, std::string& error) {
  out = KvXMeshData{};
  if (scene.meshes.empty()) {
    error = "no mesh in the file";
    return false;
  }
  std::uint64_t vertexBound = 0;
  Channels channels;
  for (const KvXParsedMesh& mesh : scene.meshes) {
    vertexBound += mesh.VertexCount() + mesh.corners.size();
    channels.normals = channels.normals || !mesh.normalIndex.empty();
    channels.texcoords = channels.texcoords || !mesh.texcoords.empty();
    channels.colors = channels.colors || !mesh.colors.empty();
  }
  if (vertexBound >= std::numeric_limits<std::uint32_t>::max()) {
    error = "too many vertices";
    return false;
  }
  for (const KvXParsedMesh& mesh : scene.meshes) MeshAppender(scene, mesh, channels, out).Append();
  if (out.FaceCount() == 0) {
    out = KvXMeshData{};
    error = "no triangles in the file";
    return false;
  }
  return true;
}
