// Nearest-hit ray queries against a fixed triangle set, through a bounding volume hierarchy
// built once.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

struct KvRayHit {
  std::uint32_t face = 0;
  float u = 0;  // hit = v0 + u (v1 - v0) + v (v2 - v0)
  float v = 0;
  float distance = 0;  // in units of the ray direction's length
};

class KvMeshRaycast {
 public:
  // positions: x, y, z per vertex; indices: three per triangle. Both are copied.
  KvMeshRaycast(const float* positions, std::size_t vertexCount, const std::uint32_t* indices,
                std::size_t faceCount);

  // The nearest intersection with distance >= 0, both sides of a face counting.
  bool Nearest(const float origin[3], const float direction[3], KvRayHit& hit) const;
  // Every intersection with distance >= 0, sorted by distance.
  std::vector<KvRayHit> All(const float origin[3], const float direction[3]) const;

 private:
  struct Node {
    float min[3];
    float max[3];
    std::uint32_t first;  // first triangle (leaf) or left child (inner); the right child follows it
    std::uint32_t count;  // triangles in a leaf; 0 for an inner node
  };
  struct Ray;      // a query ray prepared for the box and triangle tests
  struct Builder;  // splits the triangles into nodes_

  // Builds nodes_ and order_ over the faces that can be hit.
  void Build();
  // Visits the leaves whose boxes the ray enters, nearest box first. visit(first, count) returns
  // the distance beyond which boxes are no longer of interest.
  template <typename LeafVisitor>
  void Walk(const Ray& ray, LeafVisitor&& visit) const;
  // Tests the face in position `slot` of order_.
  bool HitSlot(const Ray& ray, std::uint32_t slot, KvRayHit& hit) const;

  std::vector<float> positions_;
  std::vector<std::uint32_t> indices_;
  std::vector<std::uint32_t> order_;  // faces in leaf order; those that can never be hit left out
  std::vector<Node> nodes_;           // nodes_[0] is the root; empty when no face can be hit
};

// One ray against one triangle (both sides); the brute-force reference uses it too.
bool KvRayTriangle(const float origin[3], const float direction[3], const float v0[3],
                   const float v1[3], const float v2[3], float& distance, float& u, float& v);
