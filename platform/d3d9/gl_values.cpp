// Direct3D's state values as OpenGL's.
#include "platform/d3d9/gl_values.h"

#include "platform/d3d9/gl_flavour.h"

GLenum KvDepthFunction(DWORD function) {
  static const GLenum kFunctions[] = {GL_ALWAYS,  GL_NEVER,    GL_LESS,   GL_EQUAL, GL_LEQUAL,
                                      GL_GREATER, GL_NOTEQUAL, GL_GEQUAL, GL_ALWAYS};
  return function <= D3DCMP_ALWAYS ? kFunctions[function] : GL_ALWAYS;
}

GLenum KvBlendFactor(DWORD blend) {
  switch (blend) {
    case D3DBLEND_ZERO:
      return GL_ZERO;
    case D3DBLEND_ONE:
      return GL_ONE;
    case D3DBLEND_SRCCOLOR:
      return GL_SRC_COLOR;
    case D3DBLEND_INVSRCCOLOR:
      return GL_ONE_MINUS_SRC_COLOR;
    case D3DBLEND_SRCALPHA:
      return GL_SRC_ALPHA;
    case D3DBLEND_INVSRCALPHA:
      return GL_ONE_MINUS_SRC_ALPHA;
    case D3DBLEND_DESTALPHA:
      return GL_DST_ALPHA;
    case D3DBLEND_INVDESTALPHA:
      return GL_ONE_MINUS_DST_ALPHA;
    case D3DBLEND_DESTCOLOR:
      return GL_DST_COLOR;
    case D3DBLEND_INVDESTCOLOR:
      return GL_ONE_MINUS_DST_COLOR;
    case D3DBLEND_SRCALPHASAT:
      return GL_SRC_ALPHA_SATURATE;
    case D3DBLEND_BLENDFACTOR:
      return GL_CONSTANT_COLOR;
    case D3DBLEND_INVBLENDFACTOR:
      return GL_ONE_MINUS_CONSTANT_COLOR;
    default:
      return GL_ONE;
  }
}

GLenum KvBlendEquation(DWORD operation) {
  switch (operation) {
    case D3DBLENDOP_SUBTRACT:
      return GL_FUNC_SUBTRACT;
    case D3DBLENDOP_REVSUBTRACT:
      return GL_FUNC_REVERSE_SUBTRACT;
    case D3DBLENDOP_MIN:
      return GL_MIN;
    case D3DBLENDOP_MAX:
      return GL_MAX;
    default:
      return GL_FUNC_ADD;
  }
}

GLint KvWrap(DWORD address) {
  switch (address) {
    case D3DTADDRESS_MIRROR:
      return GL_MIRRORED_REPEAT;
    case D3DTADDRESS_CLAMP:
      return GL_CLAMP_TO_EDGE;
    case D3DTADDRESS_BORDER:
      return kKvClampToBorder;
    default:
      return GL_REPEAT;
  }
}

GLint KvMinFilter(DWORD minFilter, DWORD mipFilter) {
  const bool linear = minFilter >= D3DTEXF_LINEAR;
  if (mipFilter == D3DTEXF_NONE) return linear ? GL_LINEAR : GL_NEAREST;
  if (mipFilter == D3DTEXF_POINT)
    return linear ? GL_LINEAR_MIPMAP_NEAREST : GL_NEAREST_MIPMAP_NEAREST;
  return linear ? GL_LINEAR_MIPMAP_LINEAR : GL_NEAREST_MIPMAP_LINEAR;
}

// Vertices a primitive count needs, and the OpenGL mode; false for a type the device does not
// draw or a count whose vertices no OpenGL draw can take (the sum is made in 64 bits first).
bool KvPrimitive(D3DPRIMITIVETYPE type, UINT count, GLenum& mode, UINT& vertices) {
  struct Shape {
    D3DPRIMITIVETYPE type;
    GLenum mode;
    unsigned long long perPrimitive, extra;
  };
  static constexpr Shape kShapes[] = {
      {D3DPT_POINTLIST, GL_POINTS, 1, 0},
      {D3DPT_LINELIST, GL_LINES, 2, 0},
      {D3DPT_LINESTRIP, GL_LINE_STRIP, 1, 1},
      {D3DPT_TRIANGLELIST, GL_TRIANGLES, 3, 0},
      {D3DPT_TRIANGLESTRIP, GL_TRIANGLE_STRIP, 1, 2},
      {D3DPT_TRIANGLEFAN, GL_TRIANGLE_FAN, 1, 2},
  };
  for (const Shape& shape : kShapes) {
    if (shape.type != type) continue;
    const unsigned long long needed = count * shape.perPrimitive + shape.extra;
    if (needed > 0x7FFFFFFFull) return false;  // a GLsizei's largest
    mode = shape.mode;
    vertices = UINT(needed);
    return true;
  }
  return false;
}
