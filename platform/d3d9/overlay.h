// The figures overlay that F3 toggles: frames per second and the median frame time, the
// particles drawn and the draws issued to OpenGL, in white on a dark panel at the top left
// of the picture. It is drawn after the scene, just before presenting, with OpenGL state of
// its own, set through the state cache, which tells the device what to apply again.
#pragma once

#include <vector>

#include "platform/d3d9/frame_figures.h"
#include "platform/d3d9/gl_cache.h"
#include "platform/d3d9/overlay_text.h"
#include "platform/d3d9/shader.h"

class KvFiguresOverlay {
 public:
  // Makes and deletes its vertex buffer, in the device's context.
  void Create();
  void Destroy(KvGlCache& cache);
  // Draws into the bound framebuffer of width × height pixels with `program` (the untextured
  // fixed-function program with vertex colours) through `vertexArray`.
  void Draw(const KvFrameFigures& figures, UINT width, UINT height, KvShaderProgram& program,
            GLuint vertexArray, KvGlCache& cache);

 private:
  void Build(const KvFrameFigures& figures);

  GLuint buffer_ = 0;
  std::vector<KvOverlayVertex> vertices_;
};

// Whether F3 has shown the figures. The device listens to the window layer's key presses and
// hands each to KvToggleFiguresOnF3; F3 still reaches the program as a key.
bool& KvFiguresShown();
void KvToggleFiguresOnF3(int virtualKey);
