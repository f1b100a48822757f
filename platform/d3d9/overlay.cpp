#include "platform/d3d9/overlay.h"

#include <cstdio>

#include "platform/d3d9/shader_inputs.h"

namespace {

constexpr float kCell = 2.0f;  // pixels per glyph cell
constexpr float kMargin = 6.0f;
constexpr float kLineHeight = (kKvGlyphRows + 3) * kCell;
constexpr int kLines = 3;
constexpr int kWidestLine = 16;  // characters
constexpr D3DCOLOR kText = 0xFFFFFFFF;
constexpr D3DCOLOR kPanel = 0xB0000000;

// Pixel coordinates (y down) onto clip space, as a world × view × projection for the shader.
D3DXMATRIX PixelsToClip(UINT width, UINT height) {
  D3DXMATRIX m;
  D3DXMatrixIdentity(&m);
  m._11 = 2.0f / float(width);
  m._22 = -2.0f / float(height);
  m._41 = -1.0f;
  m._42 = 1.0f;
  return m;
}

}  // namespace

void KvFiguresOverlay::Create() {
  glGenBuffers(1, &buffer_);
}

void KvFiguresOverlay::Destroy() {
  glDeleteBuffers(1, &buffer_);
}

void KvFiguresOverlay::Build(const KvFrameFigures& figures) {
  char lines[kLines][32];
  std::snprintf(lines[0], sizeof lines[0], "FPS %zu  %.1f MS", figures.FramesPerSecond(),
                figures.MedianFrameMilliseconds());
  std::snprintf(lines[1], sizeof lines[1], "PARTICLES %zu", figures.Quads());
  std::snprintf(lines[2], sizeof lines[2], "DRAWS %zu", figures.Draws());
  vertices_.clear();
  const float panelRight = kMargin * 2 + kWidestLine * kKvGlyphAdvance * kCell;
  KvAppendRectangle(0, 0, panelRight, kMargin * 2 + kLines * kLineHeight, kPanel, vertices_);
  for (int line = 0; line < kLines; ++line) {
    KvAppendText(lines[line], kMargin, kMargin + 1.5f * kCell + line * kLineHeight, kCell, kText,
                 vertices_);
  }
}

void KvFiguresOverlay::Draw(const KvFrameFigures& figures, UINT width, UINT height, GLuint program,
                            GLuint vertexArray) {
  Build(figures);
  glViewport(0, 0, GLsizei(width), GLsizei(height));
  glDisable(GL_DEPTH_TEST);
  glDisable(GL_CULL_FACE);
  glEnable(GL_BLEND);
  glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
  glBlendEquation(GL_FUNC_ADD);
  glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
  glUseProgram(program);
  glBindVertexArray(vertexArray);
  glBindBuffer(GL_ARRAY_BUFFER, buffer_);
  glBufferData(GL_ARRAY_BUFFER, GLsizeiptr(vertices_.size() * sizeof(KvOverlayVertex)),
               vertices_.data(), GL_STREAM_DRAW);
  KvPointVertexAttributes(buffer_, KvLayoutOf(kKvOverlayVertexFvf, sizeof(KvOverlayVertex), 0));
  KvSetTransformAttribute(PixelsToClip(width, height));
  glDrawArrays(GL_TRIANGLES, 0, GLsizei(vertices_.size()));
}
