// Gathering draws: the particles draw the same quad from the same buffer once per particle,
// changing only the world transform in between. Each DrawPrimitive keeps its own
// world × view × projection, and a run of such draws goes to OpenGL as one draw when any
// other state changes, a resource changes, or the scene ends.
//
// A run of triangles or triangle strips is expanded: every draw's vertices are copied with
// its transform beside each vertex, and an index list names the triangles in the order and
// with the corners OpenGL takes from the strip. The shader computes the same product from
// the same values as for a single draw, the triangles arrive in the same order with the
// same corners, so the picture is the one the draws would have made one at a time. Other
// primitives go as one instanced draw (the software rasterizer runs its pipeline once per
// instance, so expanding is the faster of the two where it applies).
#include <cstring>

#include "platform/d3d9/device.h"

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

// The four columns of the shader's transform, from `buffer`, one matrix per vertex
// (divisor 0) or per instance (divisor 1).
void PointTransformAttribute(GLuint buffer, GLuint divisor) {
  glBindBuffer(GL_ARRAY_BUFFER, buffer);
  for (GLuint row = 0; row < 4; ++row) {
    glEnableVertexAttribArray(3 + row);
    glVertexAttribPointer(3 + row, 4, GL_FLOAT, GL_FALSE, sizeof(D3DXMATRIX),
                          (const void*)(row * 4 * sizeof(float)));
    glVertexAttribDivisor(3 + row, divisor);
  }
}

// Back to the constant attribute that single draws set.
void DisableTransformAttribute() {
  for (GLuint row = 0; row < 4; ++row) glDisableVertexAttribArray(3 + row);
}

// Fresh storage of `count` elements in `buffer`, mapped for writing; null if it cannot be.
template <class T>
T* MapFresh(GLuint buffer, size_t count) {
  const auto bytes = GLsizeiptr(count * sizeof(T));
  glBindBuffer(GL_ARRAY_BUFFER, buffer);
  glBufferData(GL_ARRAY_BUFFER, bytes, nullptr, GL_STREAM_DRAW);
  return static_cast<T*>(
      glMapBufferRange(GL_ARRAY_BUFFER, 0, bytes, GL_MAP_WRITE_BIT | GL_MAP_INVALIDATE_BUFFER_BIT));
}

}  // namespace

void KvDevice::SetDrawBatching(bool on) {
  FlushDraws();
  batching_ = on;
}

const D3DXMATRIX& KvDevice::WorldViewProjection() {
  if (transformsChanged_) {
    D3DXMATRIX worldView;
    D3DXMatrixMultiply(&worldView, &world_, &view_);
    D3DXMatrixMultiply(&worldViewProjection_, &worldView, &projection_);
    transformsChanged_ = false;
  }
  return worldViewProjection_;
}

// Row vectors times a row-major matrix equal OpenGL's column-major matrix times a column
// vector, so row i of the matrix is column i of the shader's matrix.
void KvDevice::SetTransformAttribute(const D3DXMATRIX& worldViewProjection) {
  for (GLuint row = 0; row < 4; ++row) glVertexAttrib4fv(3 + row, worldViewProjection.m[row]);
}

void KvDevice::FlushDraws() {
  if (pending_.transforms.empty()) return;
  ApplyState();
  if (pending_.transforms.size() == 1) {
    BindVertexStream();
    SetTransformAttribute(pending_.transforms.front());
    glDrawArrays(pending_.mode, pending_.first, pending_.count);
  } else if (auto corners = TriangleCorners(pending_.mode, GLuint(pending_.count));
             !corners.empty()) {
    DrawExpanded(corners);
  } else {
    BindVertexStream();
    DrawInstanced();
  }
  pending_.transforms.clear();
}

void KvDevice::DrawInstanced() {
  const auto& transforms = pending_.transforms;
  glBindBuffer(GL_ARRAY_BUFFER, instanceBuffer_);
  glBufferData(GL_ARRAY_BUFFER, GLsizeiptr(transforms.size() * sizeof(D3DXMATRIX)),
               transforms.data(), GL_STREAM_DRAW);
  PointTransformAttribute(instanceBuffer_, 1);
  glDrawArraysInstanced(pending_.mode, pending_.first, pending_.count, GLsizei(transforms.size()));
  DisableTransformAttribute();
}

// Copies every draw's vertices, each with the draw's transform, and draws the triangles
// through an index list that repeats `corners` for every copy.
void KvDevice::DrawExpanded(const std::vector<GLuint>& corners) {
  const UINT stride = StreamStride();
  const size_t count = size_t(pending_.count);
  const BYTE* source = static_cast<KvVertexBuffer*>(stream_)->Data() + streamOffset_ +
                       size_t(pending_.first) * stride;
  const size_t draws = pending_.transforms.size();
  auto* vertices = MapFresh<BYTE>(expandedVertices_, draws * count * stride);
  for (size_t draw = 0; vertices && draw < draws; ++draw) {
    std::memcpy(vertices + draw * count * stride, source, count * stride);
  }
  bool written = vertices && glUnmapBuffer(GL_ARRAY_BUFFER);
  auto* transforms = written ? MapFresh<D3DXMATRIX>(instanceBuffer_, draws * count) : nullptr;
  for (size_t draw = 0; transforms && draw < draws; ++draw) {
    std::fill_n(transforms + draw * count, count, pending_.transforms[draw]);
  }
  written = transforms && glUnmapBuffer(GL_ARRAY_BUFFER);
  if (!written) {
    BindVertexStream();  // storage could not be had: draw the run instanced instead
    return DrawInstanced();
  }
  PointAttributes(expandedVertices_, 0, stride);
  streamDirty_ = true;  // the next draw points the attributes at the stream again
  PointTransformAttribute(instanceBuffer_, 0);
  PrepareExpandedIndices(corners, count, draws);
  glDrawElements(GL_TRIANGLES, GLsizei(draws * corners.size()), GL_UNSIGNED_INT, nullptr);
  DisableTransformAttribute();
}

// The index list depends only on the corners, the vertices per draw and the number of
// draws, so it is written again only when those outgrow what it holds.
void KvDevice::PrepareExpandedIndices(const std::vector<GLuint>& corners, size_t count,
                                      size_t draws) {
  glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, expandedIndices_);
  ExpandedIndices& cached = expandedIndexList_;
  if (cached.corners == corners && cached.count == count && cached.draws >= draws) return;
  cached = {corners, count, std::max(draws, cached.draws)};
  std::vector<GLuint> indices(cached.draws * corners.size());
  for (size_t draw = 0; draw < cached.draws; ++draw) {
    for (size_t c = 0; c < corners.size(); ++c) {
      indices[draw * corners.size() + c] = GLuint(draw * count) + corners[c];
    }
  }
  glBufferData(GL_ELEMENT_ARRAY_BUFFER, GLsizeiptr(indices.size() * sizeof(GLuint)), indices.data(),
               GL_STREAM_DRAW);
}
