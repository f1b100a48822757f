// Feeding the fixed-function shader's attributes. Row vectors times a row-major matrix equal
// OpenGL's column-major matrix times a column vector, so row i of a Direct3D matrix is
// column i of the shader's.
#include "platform/d3d9/shader_inputs.h"

namespace {

constexpr DWORD kPointSize = 0x020;  // D3DFVF_PSIZE: a float the shader does not read

}  // namespace

void KvPointVertexAttributes(GLuint buffer, std::size_t offset, UINT stride, DWORD fvf) {
  glBindBuffer(GL_ARRAY_BUFFER, buffer);
  glEnableVertexAttribArray(kKvPositionLocation);
  glVertexAttribPointer(kKvPositionLocation, 3, GL_FLOAT, GL_FALSE, GLsizei(stride),
                        (const void*)offset);
  offset += 12;
  if (fvf & D3DFVF_NORMAL) offset += 12;
  if (fvf & kPointSize) offset += 4;
  if (fvf & D3DFVF_DIFFUSE) {
    glEnableVertexAttribArray(kKvColorLocation);
    glVertexAttribPointer(kKvColorLocation, GL_BGRA, GL_UNSIGNED_BYTE, GL_TRUE, GLsizei(stride),
                          (const void*)offset);
    offset += 4;
  } else {
    glDisableVertexAttribArray(kKvColorLocation);
    glVertexAttrib4f(kKvColorLocation, 1.0f, 1.0f, 1.0f, 1.0f);
  }
  if (fvf & D3DFVF_SPECULAR) offset += 4;
  if ((fvf & D3DFVF_TEXCOUNT_MASK) != 0) {
    glEnableVertexAttribArray(kKvTexCoordLocation);
    glVertexAttribPointer(kKvTexCoordLocation, 2, GL_FLOAT, GL_FALSE, GLsizei(stride),
                          (const void*)offset);
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

void KvPointTransformAttribute(GLuint buffer, GLuint divisor) {
  glBindBuffer(GL_ARRAY_BUFFER, buffer);
  for (GLuint row = 0; row < 4; ++row) {
    glEnableVertexAttribArray(kKvTransformLocation + row);
    glVertexAttribPointer(kKvTransformLocation + row, 4, GL_FLOAT, GL_FALSE, sizeof(D3DXMATRIX),
                          (const void*)(row * 4 * sizeof(float)));
    glVertexAttribDivisor(kKvTransformLocation + row, divisor);
  }
}

void KvDisableTransformAttribute() {
  for (GLuint row = 0; row < 4; ++row) glDisableVertexAttribArray(kKvTransformLocation + row);
}
