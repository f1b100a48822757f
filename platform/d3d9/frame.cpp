// Scenes, clearing, presentation and reading the picture back. While the window's drawable
// has the back buffer's size the frame is drawn straight into it and Present only swaps:
// a full-screen pass costs a software renderer about a millisecond a frame. Otherwise
// presentation draws the offscreen back buffer over the drawable, stretched to its size,
// with a program made at start rather than blitted: on a software renderer the first blit
// builds and compiles a pipeline of its own, which delayed the first frame.
#include <algorithm>

#include "platform/d3d9/device.h"
#include "platform/d3d9/gl_check.h"
#include "platform/d3d9/gl_flavour.h"

HRESULT KvDevice::Clear(DWORD count, const D3DRECT* rects, DWORD flags, D3DCOLOR color, float z,
                        DWORD) {
  if ((flags & ~(D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER | D3DCLEAR_STENCIL)) || (count && !rects)) {
    return D3DERR_INVALIDCALL;
  }
  FlushDraws();
  if (!FollowContext()) return D3D_OK;
  MakeCurrent();
  // A frame starts with its clear: a drawable resized since the last present (a page's canvas
  // entering full screen) is drawn offscreen and stretched from this frame on, not the next.
  int drawableWidth = 0;
  int drawableHeight = 0;
  KvGlDrawableSize(window_, drawableWidth, drawableHeight);
  ChooseTarget(drawableWidth, drawableHeight);
  cache_.BindFramebuffer(target_);
  cache_.ColorMask({true, true, true, true});
  cache_.DepthMask(true);
  cache_.ClearColor({((color >> 16) & 0xFF) / 255.0f, ((color >> 8) & 0xFF) / 255.0f,
                     (color & 0xFF) / 255.0f, ((color >> 24) & 0xFF) / 255.0f});
  cache_.ClearDepth(std::clamp(z, 0.0f, 1.0f));
  const GLbitfield mask = ((flags & D3DCLEAR_TARGET) ? GL_COLOR_BUFFER_BIT : 0) |
                          ((flags & D3DCLEAR_ZBUFFER) ? GL_DEPTH_BUFFER_BIT : 0);
  cache_.Enable(GL_SCISSOR_TEST, true);
  // Rectangles are cut to the back buffer, in 64 bits, so no caller's corner wraps round.
  const auto clearRect = [&](long long x1, long long y1, long long x2, long long y2) {
    const long long w = width_, h = height_;
    x1 = std::clamp(x1, 0LL, w), x2 = std::clamp(x2, x1, w);
    y1 = std::clamp(y1, 0LL, h), y2 = std::clamp(y2, y1, h);
    cache_.Scissor(GLint(x1), GLint(h - y2), GLsizei(x2 - x1), GLsizei(y2 - y1));
    glClear(mask);
  };
  const D3DVIEWPORT9& v = state_.viewport;
  if (count == 0) clearRect(v.X, v.Y, (long long)v.X + v.Width, (long long)v.Y + v.Height);
  for (DWORD i = 0; i < count; ++i) clearRect(rects[i].x1, rects[i].y1, rects[i].x2, rects[i].y2);
  cache_.Enable(GL_SCISSOR_TEST, false);
  return D3D_OK;
}

HRESULT KvDevice::BeginScene() {
  if (inScene_) return D3DERR_INVALIDCALL;
  FollowContext();
  inScene_ = true;
  return D3D_OK;
}
HRESULT KvDevice::EndScene() {
  if (!inScene_) return D3DERR_INVALIDCALL;
  FlushDraws();
  inScene_ = false;
  return D3D_OK;
}

// Without a context the frame is still presented, drawing nothing: the window layer counts it
// and waits for the display as for any other.
HRESULT KvDevice::Present(const RECT*, const RECT*, HWND, const RGNDATA*) {
  FlushDraws();
  MakeCurrent();
  if (KvWindowDestroyed(window_)) return D3D_OK;
  if (!FollowContext()) {
    KvSwapGlWindow(window_);
    figures_.EndFrame(KvFrameFigures::Clock::now());
    return D3D_OK;
  }
  int drawableWidth = 0;
  int drawableHeight = 0;
  KvGlDrawableSize(window_, drawableWidth, drawableHeight);
  if (KvFiguresShown()) DrawOverlay();
  if (target_ == framebuffer_) DrawBackBuffer(drawableWidth, drawableHeight);
  if (KvKeepPresentedPictures()) {
    presentedWidth_ = UINT(drawableWidth);
    presentedHeight_ = UINT(drawableHeight);
    presented_.resize(size_t(presentedWidth_) * presentedHeight_);
    KvGlReadArgb(0, 0, drawableWidth, drawableHeight, presented_.data());
  }
  KvCheckGl("presenting");
  KvSwapGlWindow(window_);
  figures_.EndFrame(KvFrameFigures::Clock::now());
  ChooseTarget(drawableWidth, drawableHeight);
  cache_.BindFramebuffer(target_);
  return D3D_OK;
}

void KvDevice::ChooseTarget(int drawableWidth, int drawableHeight) {
  const bool sameSize = UINT(drawableWidth) == width_ && UINT(drawableHeight) == height_;
  const GLuint target = windowUsable_ && sameSize && !KvDrawOffscreen() ? 0 : framebuffer_;
  if (target != target_) state_.dirty |= kKvDirtyFramebuffer;
  target_ = target;
}

// Nearest sampling when the sizes match, so the drawable gets exactly the back buffer's
// pixels; bilinear when stretching.
void KvDevice::DrawBackBuffer(int drawableWidth, int drawableHeight) {
  const bool sameSize = UINT(drawableWidth) == width_ && UINT(drawableHeight) == height_;
  const GLint filter = sameSize ? GL_NEAREST : GL_LINEAR;
  cache_.BindFramebuffer(0);
  cache_.Viewport(0, 0, drawableWidth, drawableHeight);
  cache_.Enable(GL_DEPTH_TEST, false);
  cache_.Enable(GL_BLEND, false);
  cache_.Enable(GL_CULL_FACE, false);
  cache_.ColorMask({true, true, true, true});
  cache_.UseProgram(presentProgram_);
  cache_.BindVertexArray(presentArray_);
  cache_.BindSampler(0);
  cache_.BindTexture(colorTexture_);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, filter);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, filter);
  glDrawArrays(GL_TRIANGLES, 0, 3);
}

// Over the finished frame, in the back buffer; the device's state applies again afterwards.
void KvDevice::DrawOverlay() {
  KvShaderProgram& coloured = programs_[kKvVertexColor];
  if (coloured.name == 0 && !KvCreateFixedFunctionProgram(kKvVertexColor, coloured, cache_)) {
    return;
  }
  cache_.BindFramebuffer(target_);
  overlay_.Draw(figures_, width_, height_, coloured, vertexArray_, cache_);
}

void KvDevice::ReadBackBuffer(std::vector<DWORD>& pixels) {
  FlushDraws();
  MakeCurrent();
  std::vector<DWORD> rows(size_t(width_) * height_);
  cache_.BindFramebuffer(target_);
  KvGlReadArgb(0, 0, GLsizei(width_), GLsizei(height_), rows.data());
  pixels.resize(rows.size());
  for (UINT y = 0; y < height_; ++y) {
    const DWORD* source = rows.data() + size_t(height_ - 1 - y) * width_;
    DWORD* target = pixels.data() + size_t(y) * width_;
    for (UINT x = 0; x < width_; ++x) target[x] = source[x] | 0xFF000000u;  // X8R8G8B8
  }
}
bool KvDevice::ReadPresented(std::vector<DWORD>& pixels, UINT& width, UINT& height) const {
  if (presented_.empty()) return false;
  width = presentedWidth_;
  height = presentedHeight_;
  pixels.resize(presented_.size());
  for (UINT y = 0; y < height; ++y) {
    const DWORD* source = presented_.data() + size_t(height - 1 - y) * width;
    std::copy(source, source + width, pixels.data() + size_t(y) * width);
  }
  return true;
}
