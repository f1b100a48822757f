// The device: its context and offscreen back buffer, the state it keeps, scenes, and the
// resources it creates. Presentation is in present.cpp.
#include "platform/d3d9/device.h"

#include <algorithm>

namespace {

KvDevice* currentDevice = nullptr;

bool ValidRenderState(D3DRENDERSTATETYPE state) {
  return state > 0 && state < D3DRS_COUNT;
}

D3DXMATRIX Identity() {
  D3DXMATRIX m;
  D3DXMatrixIdentity(&m);
  return m;
}

}  // namespace

KvDevice* KvDevice::Create(IDirect3D9* owner, HWND window, const D3DPRESENT_PARAMETERS& params) {
  SDL_GLContext context = SDL_GL_CreateContext(window->sdlWindow);
  if (!context) {
    KvSetLastPlatformError(std::string("no OpenGL 3.3 context (") + SDL_GetError() + ")");
    return nullptr;
  }
  if (SDL_GL_MakeCurrent(window->sdlWindow, context) != 0 || epoxy_gl_version() < 33) {
    KvSetLastPlatformError("no OpenGL 3.3 context");
    SDL_GL_DeleteContext(context);
    return nullptr;
  }
  currentDevice = nullptr;
  UINT width = params.BackBufferWidth;
  UINT height = params.BackBufferHeight;
  if (width == 0 || height == 0) {
    int w = 0;
    int h = 0;
    SDL_GetWindowSize(window->sdlWindow, &w, &h);
    width = width ? width : static_cast<UINT>(std::max(w, 1));
    height = height ? height : static_cast<UINT>(std::max(h, 1));
  }
  SDL_GL_SetSwapInterval(params.PresentationInterval == D3DPRESENT_INTERVAL_IMMEDIATE ? 0 : 1);
  auto* device = new KvDevice(owner, window, context, width, height);
  KvDefaultRenderStates(device->renderStates_, params.EnableAutoDepthStencil != FALSE);
  if (!device->CreateTargets()) {
    KvSetLastPlatformError("the offscreen back buffer or the shaders cannot be created");
    device->Release();
    return nullptr;
  }
  return device;
}

KvDevice::KvDevice(IDirect3D9* owner, HWND window, SDL_GLContext context, UINT width, UINT height)
    : owner_(owner),
      window_(window),
      context_(context),
      width_(width),
      height_(height),
      world_(Identity()),
      view_(Identity()),
      projection_(Identity()),
      viewport_{0, 0, width, height, 0.0f, 1.0f} {
  owner_->AddRef();
  KvRetainWindow(window_);
  currentDevice = this;
  for (auto& sampler : samplerStates_) {
    sampler.fill(0);
    sampler[D3DSAMP_ADDRESSU] = sampler[D3DSAMP_ADDRESSV] = sampler[D3DSAMP_ADDRESSW] =
        D3DTADDRESS_WRAP;
    sampler[D3DSAMP_MAGFILTER] = sampler[D3DSAMP_MINFILTER] = D3DTEXF_POINT;
    sampler[D3DSAMP_MIPFILTER] = D3DTEXF_NONE;
    sampler[D3DSAMP_MAXANISOTROPY] = 1;
  }
}

bool KvDevice::CreateTargets() {
  // The colour target is a texture, so Present can draw it onto the drawable.
  glGenTextures(1, &colorTexture_);
  glBindTexture(GL_TEXTURE_2D, colorTexture_);
  glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, GLsizei(width_), GLsizei(height_), 0, GL_BGRA,
               GL_UNSIGNED_BYTE, nullptr);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAX_LEVEL, 0);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
  glBindTexture(GL_TEXTURE_2D, 0);
  glGenRenderbuffers(1, &depthBuffer_);
  glBindRenderbuffer(GL_RENDERBUFFER, depthBuffer_);
  glRenderbufferStorage(GL_RENDERBUFFER, GL_DEPTH_COMPONENT32F, GLsizei(width_), GLsizei(height_));
  glGenFramebuffers(1, &framebuffer_);
  glBindFramebuffer(GL_FRAMEBUFFER, framebuffer_);
  glFramebufferTexture2D(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, colorTexture_, 0);
  glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_DEPTH_ATTACHMENT, GL_RENDERBUFFER, depthBuffer_);
  if (glCheckFramebufferStatus(GL_FRAMEBUFFER) != GL_FRAMEBUFFER_COMPLETE) return false;
  glGenVertexArrays(1, &presentArray_);
  glGenVertexArrays(1, &vertexArray_);
  glBindVertexArray(vertexArray_);
  glGenSamplers(1, &sampler_);
  glGenBuffers(1, &instanceBuffer_);
  glGenBuffers(1, &expandedVertices_);
  glGenBuffers(1, &expandedIndices_);
  // The textured program is made now, so a context that cannot compile the shaders fails
  // here; the other variants are made when first drawn with, which shortens the start.
  presentProgram_ = KvCreatePresentProgram();
  return presentProgram_ && KvCreateFixedFunctionProgram(true, false, programs_[1]);
}

KvDevice::~KvDevice() {
  FlushDraws();
  MakeCurrent();
  for (const KvShaderProgram& program : programs_) glDeleteProgram(program.name);
  glDeleteProgram(presentProgram_);
  glDeleteSamplers(1, &sampler_);
  glDeleteBuffers(1, &instanceBuffer_);
  glDeleteBuffers(1, &expandedVertices_);
  glDeleteBuffers(1, &expandedIndices_);
  glDeleteVertexArrays(1, &vertexArray_);
  glDeleteVertexArrays(1, &presentArray_);
  glDeleteFramebuffers(1, &framebuffer_);
  glDeleteTextures(1, &colorTexture_);
  glDeleteRenderbuffers(1, &depthBuffer_);
  SDL_GL_MakeCurrent(window_->sdlWindow, nullptr);
  SDL_GL_DeleteContext(context_);
  if (currentDevice == this) currentDevice = nullptr;
  KvReleaseWindow(window_);
  owner_->Release();
}

void KvDevice::MakeCurrent() {
  if (currentDevice == this) return;
  SDL_GL_MakeCurrent(window_->sdlWindow, context_);
  currentDevice = this;
  stateDirty_ = true;
  streamDirty_ = true;
}

// ---- State ------------------------------------------------------------------------------

HRESULT KvDevice::SetRenderState(D3DRENDERSTATETYPE state, DWORD value) {
  if (!ValidRenderState(state)) return D3DERR_INVALIDCALL;
  if (renderStates_[state] == value) return D3D_OK;
  FlushDraws();
  renderStates_[state] = value;
  stateDirty_ = true;
  return D3D_OK;
}

HRESULT KvDevice::GetRenderState(D3DRENDERSTATETYPE state, DWORD* value) {
  if (!ValidRenderState(state) || !value) return D3DERR_INVALIDCALL;
  *value = renderStates_[state];
  return D3D_OK;
}

HRESULT KvDevice::SetSamplerState(DWORD sampler, D3DSAMPLERSTATETYPE type, DWORD value) {
  if (sampler >= D3DSAMPLER_COUNT || type == 0 || type >= D3DSAMP_COUNT) return D3DERR_INVALIDCALL;
  if (samplerStates_[sampler][type] == value) return D3D_OK;
  FlushDraws();
  samplerStates_[sampler][type] = value;
  stateDirty_ = true;
  return D3D_OK;
}

HRESULT KvDevice::GetSamplerState(DWORD sampler, D3DSAMPLERSTATETYPE type, DWORD* value) {
  if (sampler >= D3DSAMPLER_COUNT || type == 0 || type >= D3DSAMP_COUNT || !value) {
    return D3DERR_INVALIDCALL;
  }
  *value = samplerStates_[sampler][type];
  return D3D_OK;
}

HRESULT KvDevice::SetTransform(D3DTRANSFORMSTATETYPE state, const D3DMATRIX* matrix) {
  if (!matrix) return D3DERR_INVALIDCALL;
  switch (state) {
    case D3DTS_WORLD:
      world_ = *matrix;
      break;
    case D3DTS_VIEW:
      view_ = *matrix;
      break;
    case D3DTS_PROJECTION:
      projection_ = *matrix;
      break;
    default:
      return D3DERR_INVALIDCALL;
  }
  transformsChanged_ = true;  // draws already made keep the transform they were made with
  return D3D_OK;
}

HRESULT KvDevice::GetTransform(D3DTRANSFORMSTATETYPE state, D3DMATRIX* matrix) {
  if (!matrix) return D3DERR_INVALIDCALL;
  switch (state) {
    case D3DTS_WORLD:
      *matrix = world_;
      break;
    case D3DTS_VIEW:
      *matrix = view_;
      break;
    case D3DTS_PROJECTION:
      *matrix = projection_;
      break;
    default:
      return D3DERR_INVALIDCALL;
  }
  return D3D_OK;
}

HRESULT KvDevice::SetViewport(const D3DVIEWPORT9* viewport) {
  if (!viewport || viewport->Width == 0 || viewport->Height == 0 ||
      viewport->X + viewport->Width > width_ || viewport->Y + viewport->Height > height_) {
    return D3DERR_INVALIDCALL;
  }
  FlushDraws();
  viewport_ = *viewport;
  stateDirty_ = true;
  return D3D_OK;
}

HRESULT KvDevice::GetViewport(D3DVIEWPORT9* viewport) {
  if (!viewport) return D3DERR_INVALIDCALL;
  *viewport = viewport_;
  return D3D_OK;
}

void KvDevice::Forget(IDirect3DBaseTexture9* texture) {
  if (texture != texture_) return;
  FlushDraws();
  texture_ = nullptr;
  MarkStateDirty();
}

void KvDevice::Forget(IDirect3DVertexBuffer9* buffer) {
  if (buffer != stream_) return;
  FlushDraws();
  stream_ = nullptr;
  MarkStateDirty();
}

void KvDevice::Forget(IDirect3DIndexBuffer9* buffer) {
  if (buffer != indices_) return;
  FlushDraws();
  indices_ = nullptr;
  MarkStateDirty();
}

HRESULT KvDevice::SetTexture(DWORD stage, IDirect3DBaseTexture9* texture) {
  if (stage >= D3DSAMPLER_COUNT) return D3DERR_INVALIDCALL;
  if (stage != 0) return D3D_OK;  // only stage 0 is drawn with
  if (texture == texture_) return D3D_OK;
  FlushDraws();
  texture_ = texture;
  stateDirty_ = true;
  return D3D_OK;
}

HRESULT KvDevice::GetTexture(DWORD stage, IDirect3DBaseTexture9** texture) {
  if (!texture || stage >= D3DSAMPLER_COUNT) return D3DERR_INVALIDCALL;
  *texture = stage == 0 ? texture_ : nullptr;
  if (*texture) (*texture)->AddRef();
  return D3D_OK;
}

HRESULT KvDevice::SetStreamSource(UINT stream, IDirect3DVertexBuffer9* buffer, UINT offset,
                                  UINT stride) {
  if (stream != 0) return D3DERR_INVALIDCALL;
  if (buffer == stream_ && offset == streamOffset_ && stride == streamStride_) return D3D_OK;
  FlushDraws();
  stream_ = buffer;
  streamOffset_ = offset;
  streamStride_ = stride;
  streamDirty_ = true;
  return D3D_OK;
}

HRESULT KvDevice::GetStreamSource(UINT stream, IDirect3DVertexBuffer9** buffer, UINT* offset,
                                  UINT* stride) {
  if (stream != 0 || !buffer || !offset || !stride) return D3DERR_INVALIDCALL;
  *buffer = stream_;
  if (stream_) stream_->AddRef();
  *offset = streamOffset_;
  *stride = streamStride_;
  return D3D_OK;
}

HRESULT KvDevice::SetIndices(IDirect3DIndexBuffer9* buffer) {
  FlushDraws();
  indices_ = buffer;
  return D3D_OK;
}

HRESULT KvDevice::SetFVF(DWORD fvf) {
  if (fvf == fvf_) return D3D_OK;
  FlushDraws();
  fvf_ = fvf;
  streamDirty_ = true;
  return D3D_OK;
}

HRESULT KvDevice::GetFVF(DWORD* fvf) {
  if (!fvf) return D3DERR_INVALIDCALL;
  *fvf = fvf_;
  return D3D_OK;
}

// ---- Scenes and presentation ------------------------------------------------------------

HRESULT KvDevice::Clear(DWORD count, const D3DRECT* rects, DWORD flags, D3DCOLOR color, float z,
                        DWORD) {
  if ((flags & ~(D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER | D3DCLEAR_STENCIL)) || (count && !rects)) {
    return D3DERR_INVALIDCALL;
  }
  FlushDraws();
  MakeCurrent();
  glBindFramebuffer(GL_FRAMEBUFFER, framebuffer_);
  glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
  glDepthMask(GL_TRUE);
  glClearColor(((color >> 16) & 0xFF) / 255.0f, ((color >> 8) & 0xFF) / 255.0f,
               (color & 0xFF) / 255.0f, ((color >> 24) & 0xFF) / 255.0f);
  glClearDepth(std::clamp(z, 0.0f, 1.0f));
  const GLbitfield mask = ((flags & D3DCLEAR_TARGET) ? GL_COLOR_BUFFER_BIT : 0) |
                          ((flags & D3DCLEAR_ZBUFFER) ? GL_DEPTH_BUFFER_BIT : 0);
  glEnable(GL_SCISSOR_TEST);
  const auto clearRect = [&](LONG x1, LONG y1, LONG x2, LONG y2) {
    glScissor(x1, GLint(height_) - y2, std::max(0, x2 - x1), std::max(0, y2 - y1));
    glClear(mask);
  };
  const LONG vx = LONG(viewport_.X), vy = LONG(viewport_.Y);
  if (count == 0) clearRect(vx, vy, vx + LONG(viewport_.Width), vy + LONG(viewport_.Height));
  for (DWORD i = 0; i < count; ++i) clearRect(rects[i].x1, rects[i].y1, rects[i].x2, rects[i].y2);
  glDisable(GL_SCISSOR_TEST);
  stateDirty_ = true;
  return D3D_OK;
}

HRESULT KvDevice::BeginScene() {
  if (inScene_) return D3DERR_INVALIDCALL;
  inScene_ = true;
  return D3D_OK;
}

HRESULT KvDevice::EndScene() {
  if (!inScene_) return D3DERR_INVALIDCALL;
  FlushDraws();
  inScene_ = false;
  return D3D_OK;
}

// ---- Resources --------------------------------------------------------------------------

HRESULT KvDevice::CreateVertexBuffer(UINT length, DWORD, DWORD fvf, D3DPOOL pool,
                                     IDirect3DVertexBuffer9** buffer, HANDLE* sharedHandle) {
  if (!buffer) return D3DERR_INVALIDCALL;
  *buffer = nullptr;
  if (length == 0 || sharedHandle || pool > D3DPOOL_SCRATCH) return D3DERR_INVALIDCALL;
  *buffer = new KvVertexBuffer(this, length, fvf);
  return D3D_OK;
}

HRESULT KvDevice::CreateIndexBuffer(UINT length, DWORD, D3DFORMAT format, D3DPOOL pool,
                                    IDirect3DIndexBuffer9** buffer, HANDLE* sharedHandle) {
  if (!buffer) return D3DERR_INVALIDCALL;
  *buffer = nullptr;
  if (length == 0 || sharedHandle || pool > D3DPOOL_SCRATCH ||
      (format != D3DFMT_INDEX16 && format != D3DFMT_INDEX32)) {
    return D3DERR_INVALIDCALL;
  }
  *buffer = new KvIndexBuffer(this, length, format);
  return D3D_OK;
}

HRESULT KvDevice::CreateTexture(UINT width, UINT height, UINT levels, DWORD, D3DFORMAT format,
                                D3DPOOL pool, IDirect3DTexture9** texture, HANDLE* sharedHandle) {
  if (!texture) return D3DERR_INVALIDCALL;
  *texture = nullptr;
  constexpr UINT kLargest = 8192;
  if (width == 0 || height == 0 || width > kLargest || height > kLargest || sharedHandle ||
      (format != D3DFMT_A8R8G8B8 && format != D3DFMT_X8R8G8B8)) {
    return D3DERR_INVALIDCALL;
  }
  const UINT full = KvFullMipCount(width, height);
  const UINT count = (levels == 0 || levels > full) ? full : levels;
  *texture = new KvTexture(this, width, height, count, pool);
  return D3D_OK;
}

// ---- Reading the picture back -----------------------------------------------------------

void KvDevice::ReadBackBuffer(std::vector<DWORD>& pixels) {
  FlushDraws();
  MakeCurrent();
  std::vector<DWORD> rows(size_t(width_) * height_);
  glBindFramebuffer(GL_FRAMEBUFFER, framebuffer_);
  glPixelStorei(GL_PACK_ALIGNMENT, 4);
  glReadPixels(0, 0, GLsizei(width_), GLsizei(height_), GL_BGRA, GL_UNSIGNED_BYTE, rows.data());
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
