// Gathered draws: consecutive DrawPrimitive calls of the same primitives from the same
// vertices, differing only in the world transform (each particle's quad), wait here with one
// world × view × projection each and go to OpenGL as one draw. The transform travels one way:
// the device hands it in; the batch applies it to the vertices itself (triangles) or hands it
// to the shader (other primitives).
#pragma once

#include <cstddef>
#include <vector>

#include "platform/d3d9/gl_cache.h"
#include "platform/d3d9/shader_inputs.h"
#include "platform/d3dx9.h"

class KvDrawBatch {
 public:
  // The vertices one draw reads from the stream.
  struct Run {
    GLenum mode = 0;
    GLint first = 0;
    GLsizei count = 0;
  };
  // The stream the waiting draws read.
  struct Stream {
    const BYTE* data;  // the buffer's copy in memory, from its first vertex
    UINT stride;
    DWORD fvf;
    GLuint buffer;          // the OpenGL buffer
    KvVertexLayout layout;  // its attributes there
  };

  // Makes and deletes the OpenGL buffers, in the device's context.
  void Create();
  void Destroy(KvGlCache& cache);

  bool Empty() const { return transforms_.empty(); }
  std::size_t Size() const { return transforms_.size(); }
  // Whether a draw of these vertices joins the draws waiting.
  bool Joins(const Run& run) const;
  // Starts gathering draws of these vertices; the draws waiting before must have been issued.
  void Start(const Run& run);
  void Add(const D3DXMATRIX& worldViewProjection);
  // Issues the waiting draws as one, pointing the vertex attributes at what it draws from.
  void Flush(const Stream& stream, KvGlCache& cache);

 private:
  // What the index list of expanded runs holds: `corners` repeated for `draws` copies of
  // `count` vertices.
  struct ExpandedIndices {
    std::vector<GLuint> corners;
    std::size_t count = 0;
    std::size_t draws = 0;
  };

  void DrawInstanced(const Stream& stream, KvGlCache& cache);
  void DrawExpanded(const Stream& stream, const std::vector<GLuint>& corners, KvGlCache& cache);
  bool WriteExpandedVertices(const Stream& stream, KvGlCache& cache);
  void PrepareExpandedIndices(const std::vector<GLuint>& corners, KvGlCache& cache);

  Run run_;
  std::vector<D3DXMATRIX> transforms_;
  GLuint instanceBuffer_ = 0;    // one transform per instance
  GLuint expandedVertices_ = 0;  // a gathered run's vertices, transformed, one copy per draw
  GLuint expandedIndices_ = 0;
  ExpandedIndices expandedIndexList_;
};
