// The fixed-function shader's inputs: attribute locations shared with its GLSL source, and
// how a vertex stream and the world × view × projection transforms feed them.
#pragma once

#include <epoxy/gl.h>

#include <cstddef>

#include "platform/d3dx9.h"

inline constexpr GLuint kKvPositionLocation = 0;
inline constexpr GLuint kKvColorLocation = 1;
inline constexpr GLuint kKvTexCoordLocation = 2;
// A mat4 takes four locations from here, one per column.
inline constexpr GLuint kKvTransformLocation = 3;

// Position, colour and texture coordinates from `buffer`, laid out as the vertex format says;
// a colour the format lacks reads as white, missing coordinates as (0, 0).
void KvPointVertexAttributes(GLuint buffer, std::size_t offset, UINT stride, DWORD fvf);
// The transform of a single draw, as a constant attribute.
void KvSetTransformAttribute(const D3DXMATRIX& worldViewProjection);
// The transform from `buffer`, one matrix per vertex (divisor 0) or per instance (divisor 1).
void KvPointTransformAttribute(GLuint buffer, GLuint divisor);
// Back to the constant transform that single draws set.
void KvDisableTransformAttribute();
