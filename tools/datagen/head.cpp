// The carved stone head: an egg-shaped block with brow, eye sockets, nose, cheeks, an open
// mouth, chin and ears, facing -z. Its origin is in the mouth, where the waterfall leaves;
// it stands about 1.5 units tall. The eye sockets and the mouth use a dark material.
#include <cmath>
#include <map>

#include "models.h"
#include "noise.h"
#include "shapes.h"

namespace datagen {
namespace {

enum HeadMaterial : std::uint32_t { kCarvedStone = 0, kShadow = 1 };

constexpr double kMouthY = -0.42;  // height of the mouth on the unit sphere

std::vector<Material> HeadMaterials() {
  Material stone{"CarvedStone", {0.75, 0.72, 0.66}, 6.0, {0.1, 0.1, 0.1}, {0, 0, 0}, kStoneTexture};
  Material shadow{"Shadow", {0.08, 0.07, 0.06}, 1.0, {0, 0, 0}, {0, 0, 0}, ""};
  return {stone, shadow};
}

double Square(double v) {
  return v * v;
}

// The face's features at direction d of the unit sphere, as relative changes of the radius;
// `hollow` receives how deep the eye sockets and the mouth are cut there.
double Features(Vec3 d, double* hollow) {
  double front = Smooth((-d.z - 0.3) / 0.4);
  double ax = std::fabs(d.x);
  double brow = 0.09 * Bump(Square((d.y - 0.29) / 0.09)) * Smooth((0.62 - ax) / 0.2);
  double eyes = 0.15 * Bump((Square(ax - 0.3) + Square(d.y - 0.12)) / Square(0.14));
  double nose = 0.22 * Bump(Square(d.x / 0.11)) * Smooth((d.y + 0.26) / 0.08) *
                Smooth((0.18 - d.y) / 0.3) * (0.5 + 0.5 * Smooth((0.05 - d.y) / 0.25));
  double mouth = 0.22 * Bump(Square(d.x / 0.28) + Square((d.y - kMouthY) / 0.1));
  double lips = 0.06 * Bump(Square(d.x / 0.36) + Square((d.y - kMouthY) / 0.17));
  double chin = 0.08 * Bump(Square(d.x / 0.28) + Square((d.y + 0.7) / 0.13));
  double cheeks = 0.045 * Bump((Square(ax - 0.42) + Square(d.y + 0.12)) / Square(0.2));
  double ears = 0.09 * Bump(Square((d.y - 0.05) / 0.22) + Square((d.z - 0.08) / 0.16)) *
                Smooth((ax - 0.8) / 0.12);
  double crown = 0.035 * Bump(Square((d.y - 0.62) / 0.06));
  double grain = 0.012 * ValueNoise(d.x * 9.0 + d.z * 3.0, d.y * 9.0, 91);
  if (hollow) *hollow = front * (eyes + mouth);
  return 1.0 + front * (brow + nose + lips + chin + cheeks - eyes - mouth) + ears + crown + grain;
}

// Radius of the block before carving: narrower at the jaw, deeper at the back.
Vec3 BlockShape(Vec3 d) {
  double jaw = 1.0 - 0.16 * Smooth(-d.y / 0.8);
  return {0.5 * d.x * jaw, 0.75 * d.y, (d.z < 0 ? 0.6 : 0.9) * d.z};
}

Vec3 CarvedPoint(Vec3 d) {
  return BlockShape(d) * Features(d, nullptr);
}

Vec3 MouthDirection() {
  return {0.0, kMouthY, -std::sqrt(1.0 - kMouthY * kMouthY)};
}

// How deep the eye sockets and the mouth are cut at each vertex.
std::vector<double> Hollows(const std::vector<Vec3>& directions) {
  std::vector<double> hollows;
  for (Vec3 d : directions) {
    double hollow = 0;
    Features(d, &hollow);
    hollows.push_back(hollow);
  }
  return hollows;
}

// Gives the dark faces vertices of their own, so their colour stops sharply at the edge of
// the carving instead of bleeding into the stone around it.
void SeparateShadowFaces(Mesh& mesh) {
  std::map<std::uint32_t, std::uint32_t> copies;
  for (std::size_t f = 0; f < mesh.faces.size(); ++f) {
    if (mesh.faceMaterials[f] != kShadow) continue;
    for (std::uint32_t& index : mesh.faces[f]) {
      auto found = copies.find(index);
      if (found == copies.end()) {
        mesh.vertices.push_back(mesh.vertices[index]);
        found = copies.emplace(index, static_cast<std::uint32_t>(mesh.vertices.size() - 1)).first;
      }
      index = found->second;
    }
  }
}

}  // namespace

Mesh BuildHead() {
  Mesh mesh;
  mesh.name = "Head";
  mesh.winding = Winding::kClockwise;
  mesh.materials = HeadMaterials();
  Vec3 mouth = CarvedPoint(MouthDirection());
  Blob head;
  head.centre = mouth * -1.0;
  head.axisX = {1, 0, 0};
  head.axisY = {0, 1, 0};
  head.axisZ = {0, 0, 1};
  // The block shape is not a uniform scale, so the radius function returns 1 and the
  // carving is applied to the vertices below.
  // Twice as many slices and rings across the face as at the back and the poles.
  head.warp = [](double a) { return a - 0.5 * Sin(a); };
  head.ringWarp = [](double t) { return t + 0.5 * Sin(2.0 * kPi * t) / (2.0 * kPi); };
  head.slices = 60;
  head.rings = 42;
  head.uRepeats = 3.0;
  head.vRepeats = 2.0;
  AddBlob(mesh, head, kCarvedStone);
  std::vector<Vec3> directions;
  for (Vertex& v : mesh.vertices) {
    directions.push_back(Normalize(v.position - head.centre));
    v.position = CarvedPoint(directions.back()) - mouth;
  }
  std::vector<double> hollows = Hollows(directions);
  for (std::size_t f = 0; f < mesh.faces.size(); ++f) {
    const auto& corners = mesh.faces[f];
    double depth = (hollows[corners[0]] + hollows[corners[1]] + hollows[corners[2]]) / 3.0;
    if (depth > 0.05) mesh.faceMaterials[f] = kShadow;
  }
  std::size_t stoneVertices = mesh.vertices.size();
  SeparateShadowFaces(mesh);
  mesh.ComputeNormals();
  const Vec3 light = Normalize({-0.3, 0.7, -0.65});
  for (std::size_t i = 0; i < mesh.vertices.size(); ++i) {
    Vertex& v = mesh.vertices[i];
    double lit = 0.42 + 0.58 * std::max(0.0, Dot(v.normal, light));
    if (i >= stoneVertices) {
      v.color = Rgb{1.0, 0.9, 0.8} * (0.1 + 0.12 * lit);
    } else {
      double hollow = hollows[i];
      v.color = Rgb{1.0, 0.97, 0.92} * (lit * (1.0 - Clamp(hollow * 5.0, 0.0, 0.6)));
    }
  }
  return mesh;
}

}  // namespace datagen
