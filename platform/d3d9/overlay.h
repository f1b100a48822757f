// The figures overlay that F3 toggles: frames per second and the median frame time, the
// particles drawn and the draws issued to OpenGL, in white on a dark panel at the top left
// of the picture. It is drawn after the scene, just before presenting, with OpenGL state of
// its own; the device marks its state to be applied again afterwards.
#pragma once

#include <epoxy/gl.h>

#include <vector>

#include "platform/d3d9/frame_figures.h"
#include "platform/d3d9/overlay_text.h"

class KvFiguresOverlay {
 public:
  // Makes and deletes its vertex buffer, in the device's context.
  void Create();
  void Destroy();
  // Draws into the bound framebuffer of width × height pixels with `program` (the untextured
  // fixed-function program) through `vertexArray`.
  void Draw(const KvFrameFigures& figures, UINT width, UINT height, GLuint program,
            GLuint vertexArray);

 private:
  void Build(const KvFrameFigures& figures);

  GLuint buffer_ = 0;
  std::vector<KvOverlayVertex> vertices_;
};
