// Presentation: the back buffer is drawn over the window's drawable, stretched to its size.
// It is drawn with a program made at start rather than blitted: on a software renderer the
// first blit builds and compiles a pipeline of its own, which delayed the first frame.
#include "platform/d3d9/device.h"

HRESULT KvDevice::Present(const RECT*, const RECT*, HWND, const RGNDATA*) {
  FlushDraws();
  MakeCurrent();
  if (window_->destroyed) return D3D_OK;
  int drawableWidth = 0;
  int drawableHeight = 0;
  SDL_GL_GetDrawableSize(window_->sdlWindow, &drawableWidth, &drawableHeight);
  DrawBackBuffer(drawableWidth, drawableHeight);
  if (KvKeepPresentedPictures()) {
    presentedWidth_ = UINT(drawableWidth);
    presentedHeight_ = UINT(drawableHeight);
    presented_.resize(size_t(presentedWidth_) * presentedHeight_);
    glReadPixels(0, 0, drawableWidth, drawableHeight, GL_BGRA, GL_UNSIGNED_BYTE, presented_.data());
  }
  SDL_GL_SwapWindow(window_->sdlWindow);
  glBindFramebuffer(GL_FRAMEBUFFER, framebuffer_);
  return D3D_OK;
}

// Nearest sampling when the sizes match, so the drawable gets exactly the back buffer's
// pixels; bilinear when stretching.
void KvDevice::DrawBackBuffer(int drawableWidth, int drawableHeight) {
  const bool sameSize = UINT(drawableWidth) == width_ && UINT(drawableHeight) == height_;
  const GLint filter = sameSize ? GL_NEAREST : GL_LINEAR;
  glBindFramebuffer(GL_FRAMEBUFFER, 0);
  glViewport(0, 0, drawableWidth, drawableHeight);
  glDisable(GL_DEPTH_TEST);
  glDisable(GL_BLEND);
  glDisable(GL_CULL_FACE);
  glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
  glUseProgram(presentProgram_);
  glBindVertexArray(presentArray_);
  glActiveTexture(GL_TEXTURE0);
  glBindSampler(0, 0);
  glBindTexture(GL_TEXTURE_2D, colorTexture_);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, filter);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, filter);
  glDrawArrays(GL_TRIANGLES, 0, 3);
  glBindTexture(GL_TEXTURE_2D, 0);
  program_ = nullptr;
  MarkStateDirty();
}
