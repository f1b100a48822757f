// Ray queries against a triangle set: a watertight ray/triangle test and a bounding volume
// hierarchy built with binned surface-area splits.
#include "platform/d3dx9/mesh_raycast.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

constexpr float kInfinity = std::numeric_limits<float>::infinity();
// The far end of a box's interval is pushed out by a few units in the last place, so rounding
// in the slab test never drops a box that the exact ray touches.
constexpr float kFarScale = 1.0f + 4.0f * std::numeric_limits<float>::epsilon();
constexpr int kBins = 16;
constexpr std::uint32_t kMaxLeafSize = 8;
// The cost of visiting a node, relative to testing one triangle, for the surface-area split.
constexpr float kTraversalCost = 1.0f;
// Surface-area splits are used down to this depth; below it every split halves the triangle
// count, so no leaf lies deeper than kSahDepth + 32 and the query stack cannot overflow.
constexpr int kSahDepth = 32;
constexpr int kStackSize = 64;

// The ray in a sheared frame where it runs along the third axis, from the origin.
struct Shear {
  float origin[3];
  int kx, ky, kz;
  float sx, sy, sz;
};

bool AllFinite(const float* values, int count) {
  for (int i = 0; i < count; ++i) {
    if (!std::isfinite(values[i])) return false;
  }
  return true;
}

bool MakeShear(const float origin[3], const float direction[3], Shear& shear) {
  if (!AllFinite(origin, 3) || !AllFinite(direction, 3)) return false;
  int kz = 0;
  for (int i = 1; i < 3; ++i) {
    if (std::fabs(direction[i]) > std::fabs(direction[kz])) kz = i;
  }
  if (direction[kz] == 0.0f) return false;
  shear.sz = 1.0f / direction[kz];
  if (!std::isfinite(shear.sz)) return false;
  shear.kz = kz;
  shear.kx = (kz + 1) % 3;
  shear.ky = (kz + 2) % 3;
  shear.sx = direction[shear.kx] * shear.sz;
  shear.sy = direction[shear.ky] * shear.sz;
  std::copy(origin, origin + 3, shear.origin);
  return true;
}

// Zero area in exact arithmetic. The difference of two floats of similar magnitude and the
// product of two such differences are exact in double, so collinear or repeated corners give
// exactly zero.
bool HasArea(const float* a, const float* b, const float* c) {
  double e1[3], e2[3];
  for (int i = 0; i < 3; ++i) {
    e1[i] = double(b[i]) - a[i];
    e2[i] = double(c[i]) - a[i];
  }
  return e1[1] * e2[2] - e1[2] * e2[1] != 0.0 || e1[2] * e2[0] - e1[0] * e2[2] != 0.0 ||
         e1[0] * e2[1] - e1[1] * e2[0] != 0.0;
}

// Watertight test: the corners are moved into the sheared frame, where the ray is the third
// axis, and the signs of the three 2D edge functions decide. Each edge function is computed in
// double, where the float products are exact, so an edge shared by two triangles gives exactly
// opposite values in both and a ray through the edge always hits one of them.
bool IntersectSheared(const Shear& s, const float* a, const float* b, const float* c,
                      float& distance, float& u, float& v) {
  float x[3], y[3], z[3];
  const float* corners[3] = {a, b, c};
  for (int i = 0; i < 3; ++i) {
    const float* p = corners[i];
    const float dz = p[s.kz] - s.origin[s.kz];
    x[i] = (p[s.kx] - s.origin[s.kx]) - s.sx * dz;
    y[i] = (p[s.ky] - s.origin[s.ky]) - s.sy * dz;
    z[i] = s.sz * dz;
  }
  const double e0 = double(x[2]) * y[1] - double(y[2]) * x[1];
  const double e1 = double(x[0]) * y[2] - double(y[0]) * x[2];
  const double e2 = double(x[1]) * y[0] - double(y[1]) * x[0];
  if ((e0 < 0 || e1 < 0 || e2 < 0) && (e0 > 0 || e1 > 0 || e2 > 0)) return false;
  const double det = e0 + e1 + e2;
  if (det == 0.0) return false;
  const double t = (e0 * z[0] + e1 * z[1] + e2 * z[2]) / det;
  if (!(t >= 0.0) || !(float(t) < kInfinity)) return false;
  distance = float(t);
  u = float(e1 / det);
  v = float(e2 / det);
  return true;
}

struct Box {
  float min[3] = {kInfinity, kInfinity, kInfinity};
  float max[3] = {-kInfinity, -kInfinity, -kInfinity};

  void Grow(const Box& other) {
    for (int k = 0; k < 3; ++k) {
      min[k] = std::min(min[k], other.min[k]);
      max[k] = std::max(max[k], other.max[k]);
    }
  }
  void Grow(const float* point) {
    for (int k = 0; k < 3; ++k) {
      min[k] = std::min(min[k], point[k]);
      max[k] = std::max(max[k], point[k]);
    }
  }
  float HalfArea() const {
    const float dx = max[0] - min[0], dy = max[1] - min[1], dz = max[2] - min[2];
    return dx * dy + dy * dz + dz * dx;
  }
};

// A triangle during the build: its box and its face number.
struct Primitive {
  Box box;
  std::uint32_t face;

  // Halved before adding, so coordinates near the float limit cannot overflow.
  float Centre(int axis) const { return 0.5f * box.min[axis] + 0.5f * box.max[axis]; }
};

// A run of primitives with the box around them and the box around their centres.
struct Range {
  std::uint32_t begin = 0, end = 0;
  Box box, centres;

  void Add(const Primitive& p) {
    box.Grow(p.box);
    for (int k = 0; k < 3; ++k) {
      centres.min[k] = std::min(centres.min[k], p.Centre(k));
      centres.max[k] = std::max(centres.max[k], p.Centre(k));
    }
  }
};

// The chosen bin split: primitives whose centre falls in a bin up to `bin` go left.
struct BinSplit {
  int axis = -1;
  int bin = 0;
  float low = 0;
  float scale = 0;
  float cost = kInfinity;  // over both sides, the primitive count times the box's half area

  bool Valid() const { return axis >= 0; }
  int BinOf(const Primitive& p) const {
    const int b = int((p.Centre(axis) - low) * scale);
    return b < kBins ? b : kBins - 1;
  }
};

int WidestAxis(const Box& box) {
  int axis = 0;
  for (int k = 1; k < 3; ++k) {
    if (box.max[k] - box.min[k] > box.max[axis] - box.min[axis]) axis = k;
  }
  return axis;
}

// Picks the cheapest boundary between bins; leaves split.cost infinite when none divides.
void SweepBins(const Box* bins, const std::uint32_t* counts, std::uint32_t total, BinSplit& split) {
  float rightCost[kBins] = {};
  Box right;
  std::uint32_t rightCount = 0;
  for (int b = kBins - 1; b > 0; --b) {
    right.Grow(bins[b]);
    rightCount += counts[b];
    if (rightCount > 0) rightCost[b] = float(rightCount) * right.HalfArea();
  }
  Box left;
  std::uint32_t leftCount = 0;
  for (int b = 0; b < kBins - 1; ++b) {
    left.Grow(bins[b]);
    leftCount += counts[b];
    if (leftCount == 0 || leftCount == total) continue;
    const float cost = float(leftCount) * left.HalfArea() + rightCost[b + 1];
    if (cost < split.cost) {
      split.cost = cost;
      split.bin = b;
    }
  }
}

}  // namespace

struct KvMeshRaycast::Ray {
  Shear shear;
  float inverse[3];
  bool negative[3];

  bool Prepare(const float origin[3], const float direction[3]) {
    if (!MakeShear(origin, direction, shear)) return false;
    for (int k = 0; k < 3; ++k) {
      inverse[k] = 1.0f / direction[k];  // +-infinity for a zero component
      negative[k] = std::signbit(direction[k]);
    }
    return true;
  }

  // Slab test; `entry` is where the ray enters the box (0 when it starts inside).
  bool Enters(const Node& node, float limit, float& entry) const {
    float nearT = 0.0f, farT = kInfinity;
    for (int k = 0; k < 3; ++k) {
      const float lo = negative[k] ? node.max[k] : node.min[k];
      const float hi = negative[k] ? node.min[k] : node.max[k];
      const float t0 = (lo - shear.origin[k]) * inverse[k];
      const float t1 = (hi - shear.origin[k]) * inverse[k];
      // A NaN (the ray runs inside a face of the box) leaves the interval unchanged.
      nearT = t0 > nearT ? t0 : nearT;
      farT = t1 < farT ? t1 : farT;
    }
    entry = nearT;
    return nearT <= farT * kFarScale && nearT <= limit;
  }
};

struct KvMeshRaycast::Builder {
  std::vector<Node>& nodes;
  std::vector<Primitive>& primitives;  // permuted into leaf order

  void Split(std::uint32_t nodeIndex, const Range& range, int depth) {
    Node& node = nodes[nodeIndex];
    std::copy(range.box.min, range.box.min + 3, node.min);
    std::copy(range.box.max, range.box.max + 3, node.max);
    node.first = range.begin;
    node.count = range.end - range.begin;
    if (node.count <= 1) return;
    BinSplit split;
    if (depth < kSahDepth) split = FindBinSplit(range);
    const float splitCost = kTraversalCost + split.cost / range.box.HalfArea();
    if (node.count <= kMaxLeafSize && !(splitCost < float(node.count))) return;
    Range left, right;
    if (split.Valid()) {
      Partition(range, split, left, right);
    } else {
      MedianSplit(range, left, right);
    }
    const auto child = std::uint32_t(nodes.size());
    nodes.push_back(Node{});
    nodes.push_back(Node{});
    nodes[nodeIndex].first = child;
    nodes[nodeIndex].count = 0;
    Split(child, left, depth + 1);
    Split(child + 1, right, depth + 1);
  }

  // Bins the centres along the widest axis of their box.
  BinSplit FindBinSplit(const Range& range) const {
    BinSplit split;
    split.axis = WidestAxis(range.centres);
    split.low = range.centres.min[split.axis];
    split.scale = kBins / (range.centres.max[split.axis] - split.low);
    // No split position when every centre is in one place, or the extent overflows.
    if (!std::isfinite(split.scale) || !(split.scale > 0)) return BinSplit{};
    Box bins[kBins];
    std::uint32_t counts[kBins] = {};
    for (std::uint32_t i = range.begin; i < range.end; ++i) {
      const int b = split.BinOf(primitives[i]);
      bins[b].Grow(primitives[i].box);
      ++counts[b];
    }
    SweepBins(bins, counts, range.end - range.begin, split);
    return split.cost < kInfinity ? split : BinSplit{};
  }

  // Moves the primitives of the lower bins to the front, measuring both sides on the way.
  void Partition(const Range& range, const BinSplit& split, Range& left, Range& right) {
    std::uint32_t i = range.begin, j = range.end;
    while (i < j) {
      if (split.BinOf(primitives[i]) <= split.bin) {
        left.Add(primitives[i++]);
      } else {
        std::swap(primitives[i], primitives[--j]);
        right.Add(primitives[j]);
      }
    }
    left.begin = range.begin;
    left.end = right.begin = i;
    right.end = range.end;
  }

  // Halves the range at the median centre along its widest axis.
  void MedianSplit(const Range& range, Range& left, Range& right) {
    const int axis = WidestAxis(range.centres);
    const auto first = primitives.begin();
    const std::uint32_t middle = range.begin + (range.end - range.begin) / 2;
    std::nth_element(
        first + range.begin, first + middle, first + range.end,
        [axis](const Primitive& a, const Primitive& b) { return a.Centre(axis) < b.Centre(axis); });
    left.begin = range.begin;
    left.end = right.begin = middle;
    right.end = range.end;
    for (std::uint32_t i = left.begin; i < left.end; ++i) left.Add(primitives[i]);
    for (std::uint32_t i = right.begin; i < right.end; ++i) right.Add(primitives[i]);
  }
};

KvMeshRaycast::KvMeshRaycast(const float* positions, std::size_t vertexCount,
                             const std::uint32_t* indices, std::size_t faceCount) {
  if (positions == nullptr || indices == nullptr) return;
  // Face numbers are 32-bit; faces beyond that range cannot be reported and are left out.
  faceCount = std::min<std::size_t>(faceCount, std::numeric_limits<std::uint32_t>::max());
  positions_.assign(positions, positions + 3 * vertexCount);
  indices_.assign(indices, indices + 3 * faceCount);
  Build();
}

void KvMeshRaycast::Build() {
  const std::size_t vertexCount = positions_.size() / 3, faceCount = indices_.size() / 3;
  std::vector<Primitive> primitives;
  primitives.reserve(faceCount);
  Range all;
  // Faces with a corner out of range, a non-finite corner or no area can never be hit.
  for (std::size_t f = 0; f < faceCount; ++f) {
    const std::uint32_t* corner = &indices_[3 * f];
    if (corner[0] >= vertexCount || corner[1] >= vertexCount || corner[2] >= vertexCount) continue;
    const float *a = &positions_[3 * corner[0]], *b = &positions_[3 * corner[1]],
                *c = &positions_[3 * corner[2]];
    if (!AllFinite(a, 3) || !AllFinite(b, 3) || !AllFinite(c, 3) || !HasArea(a, b, c)) continue;
    Primitive p{Box{}, std::uint32_t(f)};
    p.box.Grow(a);
    p.box.Grow(b);
    p.box.Grow(c);
    primitives.push_back(p);
    all.Add(p);
  }
  if (primitives.empty()) return;
  all.end = std::uint32_t(primitives.size());
  // A binary tree with leaves of at least one primitive has fewer than twice as many nodes.
  nodes_.reserve(2 * primitives.size());
  nodes_.resize(1);
  Builder{nodes_, primitives}.Split(0, all, 0);
  order_.resize(primitives.size());
  for (std::size_t i = 0; i < primitives.size(); ++i) order_[i] = primitives[i].face;
}

template <typename LeafVisitor>
void KvMeshRaycast::Walk(const Ray& ray, LeafVisitor&& visit) const {
  struct Pending {
    std::uint32_t node;
    float entry;
  };
  Pending stack[kStackSize];
  int top = 0;
  float limit = kInfinity;
  float entry = 0;
  if (nodes_.empty() || !ray.Enters(nodes_[0], limit, entry)) return;
  std::uint32_t current = 0;
  for (;;) {
    const Node& node = nodes_[current];
    if (node.count > 0) {
      limit = visit(node.first, node.count);
    } else {
      const std::uint32_t left = node.first, right = node.first + 1;
      float leftEntry = 0, rightEntry = 0;
      const bool hitLeft = ray.Enters(nodes_[left], limit, leftEntry);
      const bool hitRight = ray.Enters(nodes_[right], limit, rightEntry);
      if (hitLeft && hitRight) {
        const bool leftFirst = leftEntry <= rightEntry;
        stack[top++] = leftFirst ? Pending{right, rightEntry} : Pending{left, leftEntry};
        current = leftFirst ? left : right;
        continue;
      }
      if (hitLeft || hitRight) {
        current = hitLeft ? left : right;
        continue;
      }
    }
    // Resume with the most recently deferred box that may still hold something closer.
    do {
      if (top == 0) return;
      --top;
    } while (stack[top].entry > limit);
    current = stack[top].node;
  }
}

bool KvMeshRaycast::HitSlot(const Ray& ray, std::uint32_t slot, KvRayHit& hit) const {
  hit.face = order_[slot];
  const std::uint32_t* corner = &indices_[3 * std::size_t(hit.face)];
  return IntersectSheared(ray.shear, &positions_[3 * std::size_t(corner[0])],
                          &positions_[3 * std::size_t(corner[1])],
                          &positions_[3 * std::size_t(corner[2])], hit.distance, hit.u, hit.v);
}

bool KvMeshRaycast::Nearest(const float origin[3], const float direction[3], KvRayHit& hit) const {
  Ray ray;
  if (!ray.Prepare(origin, direction)) return false;
  KvRayHit best;
  best.distance = kInfinity;
  Walk(ray, [&](std::uint32_t first, std::uint32_t count) {
    for (std::uint32_t slot = first; slot < first + count; ++slot) {
      KvRayHit h;
      if (!HitSlot(ray, slot, h)) continue;
      // Equal distances go to the lowest face number, whatever order the leaves come in.
      if (h.distance < best.distance || (h.distance == best.distance && h.face < best.face)) {
        best = h;
      }
    }
    return best.distance;
  });
  if (!(best.distance < kInfinity)) return false;
  hit = best;
  return true;
}

std::vector<KvRayHit> KvMeshRaycast::All(const float origin[3], const float direction[3]) const {
  std::vector<KvRayHit> hits;
  Ray ray;
  if (!ray.Prepare(origin, direction)) return hits;
  Walk(ray, [&](std::uint32_t first, std::uint32_t count) {
    for (std::uint32_t slot = first; slot < first + count; ++slot) {
      KvRayHit h;
      if (HitSlot(ray, slot, h)) hits.push_back(h);
    }
    return kInfinity;
  });
  std::sort(hits.begin(), hits.end(), [](const KvRayHit& a, const KvRayHit& b) {
    return a.distance < b.distance || (a.distance == b.distance && a.face < b.face);
  });
  return hits;
}

bool KvRayTriangle(const float origin[3], const float direction[3], const float v0[3],
                   const float v1[3], const float v2[3], float& distance, float& u, float& v) {
  Shear shear;
  if (!MakeShear(origin, direction, shear) || !HasArea(v0, v1, v2)) return false;
  return IntersectSheared(shear, v0, v1, v2, distance, u, v);
}
