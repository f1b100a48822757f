#include "mesh.h"

namespace datagen {
namespace {

Vec3 RawCross(const Mesh& mesh, std::uint32_t a, std::uint32_t b, std::uint32_t c) {
  Vec3 p0 = mesh.vertices[a].position;
  return Cross(mesh.vertices[b].position - p0, mesh.vertices[c].position - p0);
}

double Sign(Winding winding) {
  return winding == Winding::kClockwise ? 1.0 : -1.0;
}

}  // namespace

std::uint32_t Mesh::AddVertex(Vec3 position, double u, double v) {
  Vertex vertex;
  vertex.position = position;
  vertex.u = u;
  vertex.v = v;
  vertices.push_back(vertex);
  return static_cast<std::uint32_t>(vertices.size() - 1);
}

void Mesh::AddFacing(std::uint32_t a, std::uint32_t b, std::uint32_t c, Vec3 outward,
                     std::uint32_t material) {
  double facing = Dot(RawCross(*this, a, b, c), outward) * Sign(winding);
  if (facing < 0) std::swap(b, c);
  faces.push_back({a, b, c});
  faceMaterials.push_back(material);
}

Vec3 Mesh::FaceNormal(std::size_t face) const {
  const auto& f = faces[face];
  return Normalize(RawCross(*this, f[0], f[1], f[2]) * Sign(winding));
}

void Mesh::ComputeNormals() {
  std::vector<Vec3> sums(vertices.size());
  for (const auto& f : faces) {
    Vec3 n = RawCross(*this, f[0], f[1], f[2]) * Sign(winding);
    for (std::uint32_t index : f) sums[index] = sums[index] + n;
  }
  for (std::size_t i = 0; i < vertices.size(); ++i) vertices[i].normal = Normalize(sums[i]);
}

std::string Mesh::Validate() const {
  for (std::size_t i = 0; i < faces.size(); ++i) {
    for (std::uint32_t index : faces[i]) {
      if (index >= vertices.size())
        return name + ": face " + std::to_string(i) + " index out of range";
    }
    if (Length(RawCross(*this, faces[i][0], faces[i][1], faces[i][2])) < 1e-9) {
      return name + ": face " + std::to_string(i) + " is degenerate";
    }
    if (faceMaterials[i] >= materials.size()) {
      return name + ": face " + std::to_string(i) + " names a missing material";
    }
  }
  if (faceMaterials.size() != faces.size()) return name + ": material list size differs";
  return {};
}

}  // namespace datagen
