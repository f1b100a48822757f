// A run of triangles or triangle strips is expanded: every draw's vertices are transformed
// here into one buffer, and an index list names the triangles in the order and with the
// corners OpenGL takes from the strip. The product is summed in the order the vertex shader
// sums it, each step rounded on its own, so the positions are bit for bit the ones the
// shader would have computed; the triangles arrive in the same order with the same corners,
// so the picture is the one the draws would have made one at a time. Other primitives go as
// one instanced draw (the software rasterizer runs its pipeline once per instance, so
// expanding is the faster of the two where it applies).
#include "platform/d3d9/batch.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstring>

#include "platform/d3d9/shader_inputs.h"

namespace {

// A vertex of an expanded run: its position transformed by its draw's world × view ×
// projection, and the colour and coordinates it had.
struct ExpandedVertex {
  float clip[4];
  DWORD color;
  float texCoord[2];
};

// (x, y, z, 1) × m as the vertex shader computes it on Mesa's software renderer: ((x·m0 +
// y·m1) + z·m2) + m3, each product and sum rounded on its own (this file is built without
// fused multiply-adds). The gathered-draws scene test compares the pictures pixel for pixel.
void Transform(const std::array<float, 3>& p, const D3DXMATRIX& m, float* clip) {
  for (int j = 0; j < 4; ++j) {
    clip[j] = ((p[0] * m.m[0][j] + p[1] * m.m[1][j]) + p[2] * m.m[2][j]) + m.m[3][j];
  }
}

// The stream vertices (relative to the first) of each triangle of one draw, in OpenGL's
// order; empty for primitives that are not expanded.
std::vector<GLuint> TriangleCorners(GLenum mode, GLuint count) {
  std::vector<GLuint> corners;
  if (mode == GL_TRIANGLES) {
    for (GLuint i = 0; i + 2 < count; i += 3) corners.insert(corners.end(), {i, i + 1, i + 2});
  } else if (mode == GL_TRIANGLE_STRIP) {
    // Every other triangle of a strip swaps its first two corners to keep the winding.
    for (GLuint i = 0; i + 2 < count; ++i) {
      if (i % 2 == 0) {
        corners.insert(corners.end(), {i, i + 1, i + 2});
      } else {
        corners.insert(corners.end(), {i + 1, i, i + 2});
      }
    }
  }
  return corners;
}

// Fresh storage of `count` elements in `buffer`, mapped for writing; null if it cannot be.
template <class T>
T* MapFresh(GLuint buffer, std::size_t count, KvGlCache& cache) {
  const auto bytes = GLsizeiptr(count * sizeof(T));
  cache.BindArrayBuffer(buffer);
  glBufferData(GL_ARRAY_BUFFER, bytes, nullptr, GL_STREAM_DRAW);
  return static_cast<T*>(
      glMapBufferRange(GL_ARRAY_BUFFER, 0, bytes, GL_MAP_WRITE_BIT | GL_MAP_INVALIDATE_BUFFER_BIT));
}

}  // namespace

void KvDrawBatch::Create() {
  glGenBuffers(1, &instanceBuffer_);
  glGenBuffers(1, &expandedVertices_);
  glGenBuffers(1, &expandedIndices_);
}

void KvDrawBatch::Destroy(KvGlCache& cache) {
  cache.DeleteBuffer(instanceBuffer_);
  cache.DeleteBuffer(expandedVertices_);
  cache.DeleteBuffer(expandedIndices_);
  expandedIndexList_ = {};
}

bool KvDrawBatch::Joins(const Run& run) const {
  return !Empty() && run_.mode == run.mode && run_.first == run.first && run_.count == run.count;
}

void KvDrawBatch::Start(const Run& run) {
  run_ = run;
  transforms_.clear();
}

void KvDrawBatch::Add(const D3DXMATRIX& worldViewProjection) {
  transforms_.push_back(worldViewProjection);
}

void KvDrawBatch::Flush(const Stream& stream, KvGlCache& cache) {
  if (Empty()) return;
  if (transforms_.size() == 1) {
    cache.PointVertexAttributes(stream.buffer, stream.layout);
    cache.TransformAttribute(transforms_.front());
    glDrawArrays(run_.mode, run_.first, run_.count);
  } else if (auto corners = TriangleCorners(run_.mode, GLuint(run_.count)); !corners.empty()) {
    DrawExpanded(stream, corners, cache);
  } else {
    DrawInstanced(stream, cache);
  }
  transforms_.clear();
}

void KvDrawBatch::DrawInstanced(const Stream& stream, KvGlCache& cache) {
  cache.PointVertexAttributes(stream.buffer, stream.layout);
  cache.BindArrayBuffer(instanceBuffer_);
  glBufferData(GL_ARRAY_BUFFER, GLsizeiptr(transforms_.size() * sizeof(D3DXMATRIX)),
               transforms_.data(), GL_STREAM_DRAW);
  cache.PointTransformAttribute(instanceBuffer_);
  glDrawArraysInstanced(run_.mode, run_.first, run_.count, GLsizei(transforms_.size()));
  cache.PointTransformAttribute(0);
}

// Transforms every draw's vertices into one buffer and draws the triangles through an index
// list that repeats `corners` for every draw. Where storage cannot be had the run is drawn
// instanced instead.
void KvDrawBatch::DrawExpanded(const Stream& stream, const std::vector<GLuint>& corners,
                               KvGlCache& cache) {
  if (!WriteExpandedVertices(stream, cache)) {
    DrawInstanced(stream, cache);
    return;
  }
  KvVertexLayout layout = KvLayoutOf(stream.fvf, stream.stride, 0);
  layout.stride = sizeof(ExpandedVertex);
  layout.positionSize = 4;
  if (layout.color >= 0) layout.color = offsetof(ExpandedVertex, color);
  if (layout.texCoord >= 0) layout.texCoord = offsetof(ExpandedVertex, texCoord);
  cache.PointVertexAttributes(expandedVertices_, layout);
  D3DXMATRIX identity;
  cache.TransformAttribute(*D3DXMatrixIdentity(&identity));
  PrepareExpandedIndices(corners, cache);
  glDrawElements(GL_TRIANGLES, GLsizei(transforms_.size() * corners.size()), GL_UNSIGNED_INT,
                 nullptr);
}

bool KvDrawBatch::WriteExpandedVertices(const Stream& stream, KvGlCache& cache) {
  const std::size_t count = std::size_t(run_.count);
  const KvVertexLayout source = KvLayoutOf(stream.fvf, stream.stride, 0);
  // The run's vertices with their colour and coordinates; only the position changes per draw.
  std::vector<ExpandedVertex> run(count, ExpandedVertex{{}, 0xFFFFFFFF, {}});
  std::vector<std::array<float, 3>> positions(count);
  for (std::size_t v = 0; v < count; ++v) {
    const BYTE* vertex = stream.data + (std::size_t(run_.first) + v) * stream.stride;
    std::memcpy(positions[v].data(), vertex + source.position, 12);
    if (source.color >= 0) std::memcpy(&run[v].color, vertex + source.color, 4);
    if (source.texCoord >= 0) std::memcpy(run[v].texCoord, vertex + source.texCoord, 8);
  }
  auto* out = MapFresh<ExpandedVertex>(expandedVertices_, transforms_.size() * count, cache);
  if (!out) return false;
  for (const D3DXMATRIX& transform : transforms_) {
    for (std::size_t v = 0; v < count; ++v, ++out) {
      *out = run[v];
      Transform(positions[v], transform, out->clip);
    }
  }
  return glUnmapBuffer(GL_ARRAY_BUFFER);
}

// The index list depends only on the corners, the vertices per draw and the number of
// draws, so it is written again only when those outgrow what it holds.
void KvDrawBatch::PrepareExpandedIndices(const std::vector<GLuint>& corners, KvGlCache& cache) {
  const std::size_t count = std::size_t(run_.count);
  const std::size_t draws = transforms_.size();
  cache.BindElementBuffer(expandedIndices_);
  ExpandedIndices& cached = expandedIndexList_;
  if (cached.corners == corners && cached.count == count && cached.draws >= draws) return;
  cached = {corners, count, std::max(draws, cached.draws)};
  std::vector<GLuint> indices(cached.draws * corners.size());
  for (std::size_t draw = 0; draw < cached.draws; ++draw) {
    for (std::size_t c = 0; c < corners.size(); ++c) {
      indices[draw * corners.size() + c] = GLuint(draw * count) + corners[c];
    }
  }
  glBufferData(GL_ELEMENT_ARRAY_BUFFER, GLsizeiptr(indices.size() * sizeof(GLuint)), indices.data(),
               GL_STREAM_DRAW);
}
