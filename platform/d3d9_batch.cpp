// Gathering draws: the particles draw the same quad from the same buffer once per particle,
// changing only the world transform in between. Each DrawPrimitive keeps its own
// world × view × projection, and a run of such draws goes to OpenGL as one instanced draw
// when any other state changes, a resource changes, or the scene ends. Instances are drawn
// in order and the shader computes the same product either way, so the picture is the one
// the draws would have made one at a time.
#include "platform/d3d9_device.h"

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
  BindVertexStream();
  if (pending_.transforms.size() == 1) {
    SetTransformAttribute(pending_.transforms.front());
    glDrawArrays(pending_.mode, pending_.first, pending_.count);
  } else {
    DrawInstanced();
  }
  pending_.transforms.clear();
}

void KvDevice::DrawInstanced() {
  const auto& transforms = pending_.transforms;
  glBindBuffer(GL_ARRAY_BUFFER, instanceBuffer_);
  glBufferData(GL_ARRAY_BUFFER, GLsizeiptr(transforms.size() * sizeof(D3DXMATRIX)),
               transforms.data(), GL_STREAM_DRAW);
  for (GLuint row = 0; row < 4; ++row) {
    glEnableVertexAttribArray(3 + row);
    glVertexAttribPointer(3 + row, 4, GL_FLOAT, GL_FALSE, sizeof(D3DXMATRIX),
                          (const void*)(row * 4 * sizeof(float)));
  }
  glDrawArraysInstanced(pending_.mode, pending_.first, pending_.count, GLsizei(transforms.size()));
  // Back to the constant attribute that single draws set.
  for (GLuint row = 0; row < 4; ++row) glDisableVertexAttribArray(3 + row);
}
