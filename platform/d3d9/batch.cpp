// A run of triangles or triangle strips is expanded: every draw's vertices are copied with
// its transform beside each vertex, and an index list names the triangles in the order and
// with the corners OpenGL takes from the strip. The shader computes the same product from
// the same values as for a single draw, the triangles arrive in the same order with the
// same corners, so the picture is the one the draws would have made one at a time. Other
// primitives go as one instanced draw (the software rasterizer runs its pipeline once per
// instance, so expanding is the faster of the two where it applies).
#include "platform/d3d9/batch.h"

#include <algorithm>
#include <cstring>

#include "platform/d3d9/shader_inputs.h"

namespace {

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
T* MapFresh(GLuint buffer, std::size_t count) {
  const auto bytes = GLsizeiptr(count * sizeof(T));
  glBindBuffer(GL_ARRAY_BUFFER, buffer);
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

void KvDrawBatch::Destroy() {
  glDeleteBuffers(1, &instanceBuffer_);
  glDeleteBuffers(1, &expandedVertices_);
  glDeleteBuffers(1, &expandedIndices_);
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

bool KvDrawBatch::Flush(const Stream& stream) {
  if (Empty()) return false;
  bool movedAttributes = false;
  if (transforms_.size() == 1) {
    KvSetTransformAttribute(transforms_.front());
    glDrawArrays(run_.mode, run_.first, run_.count);
  } else if (auto corners = TriangleCorners(run_.mode, GLuint(run_.count)); !corners.empty()) {
    movedAttributes = DrawExpanded(stream, corners);
  } else {
    DrawInstanced();
  }
  transforms_.clear();
  return movedAttributes;
}

void KvDrawBatch::DrawInstanced() {
  glBindBuffer(GL_ARRAY_BUFFER, instanceBuffer_);
  glBufferData(GL_ARRAY_BUFFER, GLsizeiptr(transforms_.size() * sizeof(D3DXMATRIX)),
               transforms_.data(), GL_STREAM_DRAW);
  KvPointTransformAttribute(instanceBuffer_, 1);
  glDrawArraysInstanced(run_.mode, run_.first, run_.count, GLsizei(transforms_.size()));
  KvDisableTransformAttribute();
}

// Copies every draw's vertices, each with the draw's transform, and draws the triangles
// through an index list that repeats `corners` for every copy. Where storage cannot be had
// the run is drawn instanced instead.
bool KvDrawBatch::DrawExpanded(const Stream& stream, const std::vector<GLuint>& corners) {
  const std::size_t count = std::size_t(run_.count);
  const std::size_t bytes = count * stream.stride;
  const BYTE* source = stream.data + std::size_t(run_.first) * stream.stride;
  const std::size_t draws = transforms_.size();
  auto* vertices = MapFresh<BYTE>(expandedVertices_, draws * count * stream.stride);
  for (std::size_t draw = 0; vertices && draw < draws; ++draw) {
    std::memcpy(vertices + draw * bytes, source, bytes);
  }
  bool written = vertices && glUnmapBuffer(GL_ARRAY_BUFFER);
  auto* transforms = written ? MapFresh<D3DXMATRIX>(instanceBuffer_, draws * count) : nullptr;
  for (std::size_t draw = 0; transforms && draw < draws; ++draw) {
    std::fill_n(transforms + draw * count, count, transforms_[draw]);
  }
  written = transforms && glUnmapBuffer(GL_ARRAY_BUFFER);
  if (!written) {
    DrawInstanced();
    return false;
  }
  KvPointVertexAttributes(expandedVertices_, 0, stream.stride, stream.fvf);
  KvPointTransformAttribute(instanceBuffer_, 0);
  PrepareExpandedIndices(corners);
  glDrawElements(GL_TRIANGLES, GLsizei(draws * corners.size()), GL_UNSIGNED_INT, nullptr);
  KvDisableTransformAttribute();
  return true;
}

// The index list depends only on the corners, the vertices per draw and the number of
// draws, so it is written again only when those outgrow what it holds.
void KvDrawBatch::PrepareExpandedIndices(const std::vector<GLuint>& corners) {
  const std::size_t count = std::size_t(run_.count);
  const std::size_t draws = transforms_.size();
  glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, expandedIndices_);
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
