// Feeding the fixed-function shader's attributes. Row vectors times a row-major matrix equal
// OpenGL's column-major matrix times a column vector, so row i of a Direct3D matrix is
// column i of the shader's.
#include "platform/d3d9/shader_inputs.h"

namespace {

constexpr DWORD kPointSize = 0x020;  // D3DFVF_PSIZE: a float the shader does not read

}  // namespace

KvVertexLayout KvLayoutOf(DWORD fvf, UINT stride, std::size_t offset) {
  KvVertexLayout layout;
  layout.stride = GLsizei(stride);
  layout.position = std::ptrdiff_t(offset);
  std::ptrdiff_t next = layout.position + 12;
  if (fvf & D3DFVF_NORMAL) next += 12;
  if (fvf & kPointSize) next += 4;
  if (fvf & D3DFVF_DIFFUSE) {
    layout.color = next;
    next += 4;
  }
  if (fvf & D3DFVF_SPECULAR) next += 4;
  if ((fvf & D3DFVF_TEXCOUNT_MASK) != 0) layout.texCoord = next;
  return layout;
}

void KvSetTransformAttribute(const D3DXMATRIX& worldViewProjection) {
  for (GLuint row = 0; row < 4; ++row) {
    glVertexAttrib4fv(kKvTransformLocation + row, worldViewProjection.m[row]);
  }
}
