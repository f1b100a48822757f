// The fixed-function shader's inputs: attribute locations shared with its GLSL source, and
// how a vertex stream and the world × view × projection transforms feed them (the state cache
// points the attributes).
#pragma once

#include "platform/d3d9/opengl.h"

#include <cstddef>

#include "platform/d3dx9.h"

inline constexpr GLuint kKvPositionLocation = 0;
inline constexpr GLuint kKvColorLocation = 1;
inline constexpr GLuint kKvTexCoordLocation = 2;
// A mat4 takes four locations from here, one per column.
inline constexpr GLuint kKvTransformLocation = 3;

// Where a vertex's attributes sit, in bytes from the start of the buffer; a negative offset is
// an attribute the vertices lack (a colour then reads as white, coordinates as (0, 0)).
struct KvVertexLayout {
  GLsizei stride = 0;
  GLint positionSize = 3;  // (x, y, z), or (x, y, z, w) with w read rather than taken as 1
  std::ptrdiff_t position = 0;
  std::ptrdiff_t color = -1;
  std::ptrdiff_t texCoord = -1;
  bool operator==(const KvVertexLayout&) const = default;
};

// The layout of a vertex format, its first vertex `offset` bytes into the buffer.
KvVertexLayout KvLayoutOf(DWORD fvf, UINT stride, std::size_t offset);
