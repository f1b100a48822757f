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

void KvFiguresOverlay::Destroy(KvGlCache& cache) {
  cache.DeleteBuffer(buffer_);
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

void KvFiguresOverlay::Draw(const KvFrameFigures& figures, UINT width, UINT height,
                            KvShaderProgram& program, GLuint vertexArray, KvGlCache& cache) {
  Build(figures);
  cache.Viewport(0, 0, GLsizei(width), GLsizei(height));
  cache.Enable(GL_DEPTH_TEST, false);
  cache.Enable(GL_CULL_FACE, false);
  cache.Enable(GL_BLEND, true);
  cache.BlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
  cache.BlendEquation(GL_FUNC_ADD);
  cache.ColorMask({true, true, true, true});
  cache.UseProgram(program.name);
  KvSetHalfPixel(cache, program, 0.0f, 0.0f);
  cache.BindVertexArray(vertexArray);
  cache.BindArrayBuffer(buffer_);
  glBufferData(GL_ARRAY_BUFFER, GLsizeiptr(vertices_.size() * sizeof(KvOverlayVertex)),
               vertices_.data(), GL_STREAM_DRAW);
  cache.PointVertexAttributes(buffer_, KvLayoutOf(kKvOverlayVertexFvf, sizeof(KvOverlayVertex), 0));
  cache.TransformAttribute(PixelsToClip(width, height));
  glDrawArrays(GL_TRIANGLES, 0, GLsizei(vertices_.size()));
}

bool& KvFiguresShown() {
  static bool shown = false;
  return shown;
}

void KvToggleFiguresOnF3(int virtualKey) {
  if (virtualKey == VK_F3) KvFiguresShown() = !KvFiguresShown();
}
