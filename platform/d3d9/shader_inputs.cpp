// Feeding the fixed-function shader's attributes. Row vectors times a row-major matrix equal
// OpenGL's column-major matrix times a column vector, so row i of a Direct3D matrix is
// column i of the shader's.
#include "platform/d3d9/shader_inputs.h"

namespace {

constexpr DWORD kPointSize = 0x020;  // D3DFVF_PSIZE: a float the shader does not read

const void* At(std::ptrdiff_t offset) {
  return reinterpret_cast<const void*>(offset);
}

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

void KvPointVertexAttributes(GLuint buffer, const KvVertexLayout& layout) {
  glBindBuffer(GL_ARRAY_BUFFER, buffer);
  glEnableVertexAttribArray(kKvPositionLocation);
  glVertexAttribPointer(kKvPositionLocation, layout.positionSize, GL_FLOAT, GL_FALSE, layout.stride,
                        At(layout.position));
  if (layout.color >= 0) {
    glEnableVertexAttribArray(kKvColorLocation);
    glVertexAttribPointer(kKvColorLocation, GL_BGRA, GL_UNSIGNED_BYTE, GL_TRUE, layout.stride,
                          At(layout.color));
  } else {
    glDisableVertexAttribArray(kKvColorLocation);
    glVertexAttrib4f(kKvColorLocation, 1.0f, 1.0f, 1.0f, 1.0f);
  }
  if (layout.texCoord >= 0) {
    glEnableVertexAttribArray(kKvTexCoordLocation);
    glVertexAttribPointer(kKvTexCoordLocation, 2, GL_FLOAT, GL_FALSE, layout.stride,
                          At(layout.texCoord));
  } else {
    glDisableVertexAttribArray(kKvTexCoordLocation);
    glVertexAttrib2f(kKvTexCoordLocation, 0.0f, 0.0f);
  }
}

void KvSetTransformAttribute(const D3DXMATRIX& worldViewProjection) {
  for (GLuint row = 0; row < 4; ++row) {
    glVertexAttrib4fv(kKvTransformLocation + row, worldViewProjection.m[row]);
  }
}

void KvPointTransformAttribute(GLuint buffer) {
  glBindBuffer(GL_ARRAY_BUFFER, buffer);
  for (GLuint row = 0; row < 4; ++row) {
    glEnableVertexAttribArray(kKvTransformLocation + row);
    glVertexAttribPointer(kKvTransformLocation + row, 4, GL_FLOAT, GL_FALSE, sizeof(D3DXMATRIX),
                          At(std::ptrdiff_t(row * 4 * sizeof(float))));
    glVertexAttribDivisor(kKvTransformLocation + row, 1);
  }
}

void KvDisableTransformAttribute() {
  for (GLuint row = 0; row < 4; ++row) glDisableVertexAttribArray(kKvTransformLocation + row);
}
