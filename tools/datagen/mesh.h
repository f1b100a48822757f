// A triangle mesh under construction: vertices with normal, texture coordinate and baked
// colour, triangles with a material index each, and the materials.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "det_math.h"

namespace datagen {

// Which way the visible side of a face is wound as the viewer sees it. The environment is
// drawn with clockwise faces culled, the other models with counter-clockwise faces culled.
// In this left-handed, y-up space a triangle looks clockwise from a viewer exactly when
// (v1 - v0) x (v2 - v0) points toward that viewer.
enum class Winding { kClockwise, kCounterClockwise };

struct Vertex {
  Vec3 position;
  Vec3 normal;
  double u = 0, v = 0;
  Rgb color;
};

struct Material {
  std::string name;
  Rgb diffuse;
  double power = 8.0;
  Rgb specular{0.1, 0.1, 0.1};
  Rgb emissive{0, 0, 0};
  std::string texture;  // as written into the file; empty for none
};

struct Mesh {
  std::string name;
  Winding winding = Winding::kClockwise;
  std::vector<Vertex> vertices;
  std::vector<std::array<std::uint32_t, 3>> faces;
  std::vector<std::uint32_t> faceMaterials;
  std::vector<Material> materials;

  std::uint32_t AddVertex(Vec3 position, double u = 0, double v = 0);
  // Adds a triangle with its corners ordered so that its visible side is the one `outward`
  // points to, wound as `winding` requires.
  void AddFacing(std::uint32_t a, std::uint32_t b, std::uint32_t c, Vec3 outward,
                 std::uint32_t material);
  // The unit normal of a face on its visible side.
  Vec3 FaceNormal(std::size_t face) const;
  // Every vertex normal as the area-weighted mean of the visible-side normals of its faces.
  void ComputeNormals();
  // Empty when the mesh is sound; otherwise a description of the first fault found.
  std::string Validate() const;
};

}  // namespace datagen
