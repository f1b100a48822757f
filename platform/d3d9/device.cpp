// The device: its context and offscreen back buffer, the resources it creates, and the
// state it keeps: every setter validates, compares, and when the value changes issues the
// draws waiting for it, stores it and marks its dirty group.
#include "platform/d3d9/device.h"

#include <algorithm>
#include <cstring>
#include <string>

#include "platform/d3d9/gl_flavour.h"
#include "platform/d3d9/resources.h"

namespace {

KvDevice* currentDevice = nullptr;

bool ValidRenderState(D3DRENDERSTATETYPE state) {
  return state > 0 && state < D3DRS_COUNT;
}

bool ValidSamplerState(DWORD sampler, D3DSAMPLERSTATETYPE type) {
  return sampler < D3DSAMPLER_COUNT && type != 0 && type < D3DSAMP_COUNT;
}

// The matrix a transform state names; null for the states the device does not keep.
D3DXMATRIX* TransformSlot(KvDeviceState& state, D3DTRANSFORMSTATETYPE type) {
  switch (type) {
    case D3DTS_WORLD:
      return &state.world;
    case D3DTS_VIEW:
      return &state.view;
    case D3DTS_PROJECTION:
      return &state.projection;
    default:
      return nullptr;
  }
}

// Whether the window's own framebuffer can stand in for the back buffer: a shown window (the
// offscreen driver's surface is never shown) whose depth buffer has 32 bits, as fine as the
// offscreen one's, so that depth tests decide as they do there.
bool WindowFramebufferUsable(KvGlCache& cache) {
  if (!KvWindowsShown()) return false;
  GLint depthBits = 0;
  cache.BindFramebuffer(0);
  glGetFramebufferAttachmentParameteriv(GL_FRAMEBUFFER, GL_DEPTH,
                                        GL_FRAMEBUFFER_ATTACHMENT_DEPTH_SIZE, &depthBits);
  return depthBits >= 32;
}

}  // namespace

KvDevice* KvDevice::Create(IDirect3D9* owner, HWND window, const D3DPRESENT_PARAMETERS& params) {
  KvGlContext context = KvCreateGlContext(window, kKvGlApi);
  if (!context) return nullptr;
  if (!KvGlVersionSupported()) {
    KvSetLastPlatformError(std::string("no ") + kKvGlName + " context");
    KvDeleteGlContext(window, context);
    return nullptr;
  }
  currentDevice = nullptr;
  int drawableWidth = 0;
  int drawableHeight = 0;
  KvGlDrawableSize(window, drawableWidth, drawableHeight);
  const UINT width =
      params.BackBufferWidth ? params.BackBufferWidth : UINT(std::max(drawableWidth, 1));
  const UINT height =
      params.BackBufferHeight ? params.BackBufferHeight : UINT(std::max(drawableHeight, 1));
  KvSetGlSwapInterval(params.PresentationInterval == D3DPRESENT_INTERVAL_IMMEDIATE ? 0 : 1);
  KvListenToKeyPresses(KvToggleFiguresOnF3);
  auto* device =
      new KvDevice(owner, window, context, width, height, params.EnableAutoDepthStencil != FALSE);
  if (!device->CreateTargets()) {
    KvSetLastPlatformError("the offscreen back buffer or the shaders cannot be created");
    device->Release();
    return nullptr;
  }
  return device;
}

KvDevice::KvDevice(IDirect3D9* owner, HWND window, KvGlContext context, UINT width, UINT height,
                   bool depthBuffer)
    : owner_(owner),
      window_(window),
      context_(context),
      width_(width),
      height_(height),
      state_(width, height, depthBuffer) {
  owner_->AddRef();
  KvRetainWindow(window_);
  currentDevice = this;
}

// The offscreen back buffer: a colour texture, so Present can draw it onto the drawable, and a
// 32-bit float depth buffer.
bool KvDevice::CreateBackBuffer() {
  glActiveTexture(GL_TEXTURE0);  // the only unit ever drawn with
  glGenTextures(1, &colorTexture_);
  cache_.BindTexture(colorTexture_);
  glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, GLsizei(width_), GLsizei(height_), 0, GL_RGBA,
               GL_UNSIGNED_BYTE, nullptr);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAX_LEVEL, 0);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
  glGenRenderbuffers(1, &depthBuffer_);
  cache_.BindRenderbuffer(depthBuffer_);
  glRenderbufferStorage(GL_RENDERBUFFER, GL_DEPTH_COMPONENT32F, GLsizei(width_), GLsizei(height_));
  glGenFramebuffers(1, &framebuffer_);
  cache_.BindFramebuffer(framebuffer_);
  glFramebufferTexture2D(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, colorTexture_, 0);
  glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_DEPTH_ATTACHMENT, GL_RENDERBUFFER, depthBuffer_);
  return glCheckFramebufferStatus(GL_FRAMEBUFFER) == GL_FRAMEBUFFER_COMPLETE;
}

bool KvDevice::CreateTargets() {
  if (!CreateBackBuffer()) return false;
  windowUsable_ = WindowFramebufferUsable(cache_);
  int drawableWidth = 0;
  int drawableHeight = 0;
  KvGlDrawableSize(window_, drawableWidth, drawableHeight);
  ChooseTarget(drawableWidth, drawableHeight);
  glGenVertexArrays(1, &presentArray_);
  glGenVertexArrays(1, &vertexArray_);
  cache_.BindVertexArray(vertexArray_);
  glGenSamplers(1, &sampler_);
  batch_.Create();
  overlay_.Create();
  // The textured program is made now, so a context that cannot compile the shaders fails
  // here; the other variants are made when first drawn with, which shortens the start.
  presentProgram_ = KvCreatePresentProgram(cache_);
  return presentProgram_ &&
         KvCreateFixedFunctionProgram(kKvTextured, programs_[kKvTextured], cache_);
}

KvDevice::~KvDevice() {
  FlushDraws();
  MakeCurrent();
  DeleteObjects();
  KvDeleteGlContext(window_, context_);
  if (currentDevice == this) currentDevice = nullptr;
  KvReleaseWindow(window_);
  owner_->Release();
}

void KvDevice::DeleteObjects() {
  for (KvShaderProgram& program : programs_) cache_.DeleteProgram(program.name);
  cache_.DeleteProgram(presentProgram_);
  glDeleteSamplers(1, &sampler_);
  batch_.Destroy(cache_);
  overlay_.Destroy(cache_);
  cache_.DeleteVertexArray(vertexArray_);
  cache_.DeleteVertexArray(presentArray_);
  glDeleteFramebuffers(1, &framebuffer_);
  cache_.DeleteTexture(colorTexture_);
  glDeleteRenderbuffers(1, &depthBuffer_);
}

// Each device has a context of its own, whose state its cache follows, so nothing need be
// applied again after a switch.
KvGlCache& KvDevice::MakeCurrent() {
  if (currentDevice != this) {
    KvMakeGlContextCurrent(window_, context_);
    currentDevice = this;
  }
  return cache_;
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

void KvDevice::Forget(IDirect3DBaseTexture9* texture) {
  if (texture == state_.texture) Store(state_.texture, {}, kKvDirtyTexture);
}

void KvDevice::Forget(IDirect3DVertexBuffer9* buffer) {
  if (buffer == state_.stream) Store(state_.stream, {}, kKvDirtyStream);
}

void KvDevice::Forget(IDirect3DIndexBuffer9* buffer) {
  if (buffer == state_.indices) Store(state_.indices, {}, 0);
}

// ---- State ------------------------------------------------------------------------------

template <class T>
void KvDevice::Store(T& slot, const T& value, unsigned group) {
  if (slot == value) return;
  FlushDraws();
  slot = value;
  state_.dirty |= group;
}

HRESULT KvDevice::SetRenderState(D3DRENDERSTATETYPE state, DWORD value) {
  if (!ValidRenderState(state)) return D3DERR_INVALIDCALL;
  const unsigned group = KvRenderStateGroup(state);
  if (group == 0) {
    state_.renderStates[state] = value;  // nothing drawn depends on it
  } else {
    Store(state_.renderStates[state], value, group);
  }
  return D3D_OK;
}

HRESULT KvDevice::GetRenderState(D3DRENDERSTATETYPE state, DWORD* value) {
  if (!ValidRenderState(state) || !value) return D3DERR_INVALIDCALL;
  *value = state_.renderStates[state];
  return D3D_OK;
}

// Only stage 0 is drawn with; the other stages' states are kept.
HRESULT KvDevice::SetSamplerState(DWORD sampler, D3DSAMPLERSTATETYPE type, DWORD value) {
  if (!ValidSamplerState(sampler, type)) return D3DERR_INVALIDCALL;
  Store(state_.samplerStates[sampler][type], value, sampler == 0 ? unsigned{kKvDirtyTexture} : 0u);
  return D3D_OK;
}

HRESULT KvDevice::GetSamplerState(DWORD sampler, D3DSAMPLERSTATETYPE type, DWORD* value) {
  if (!ValidSamplerState(sampler, type) || !value) return D3DERR_INVALIDCALL;
  *value = state_.samplerStates[sampler][type];
  return D3D_OK;
}

// Draws already made keep the transform they were made with, so nothing waits for this.
HRESULT KvDevice::SetTransform(D3DTRANSFORMSTATETYPE state, const D3DMATRIX* matrix) {
  D3DXMATRIX* slot = TransformSlot(state_, state);
  if (!matrix || !slot) return D3DERR_INVALIDCALL;
  if (std::memcmp(slot, matrix, sizeof(D3DMATRIX)) != 0) {
    *slot = *matrix;
    state_.dirty |= kKvDirtyTransforms;
  }
  return D3D_OK;
}

HRESULT KvDevice::GetTransform(D3DTRANSFORMSTATETYPE state, D3DMATRIX* matrix) {
  const D3DXMATRIX* slot = TransformSlot(state_, state);
  if (!matrix || !slot) return D3DERR_INVALIDCALL;
  *matrix = *slot;
  return D3D_OK;
}

HRESULT KvDevice::SetViewport(const D3DVIEWPORT9* viewport) {
  if (!viewport || viewport->Width == 0 || viewport->Height == 0 ||
      (unsigned long long)viewport->X + viewport->Width > width_ ||
      (unsigned long long)viewport->Y + viewport->Height > height_) {
    return D3DERR_INVALIDCALL;
  }
  const D3DVIEWPORT9& v = state_.viewport;
  if (std::memcmp(&v, viewport, sizeof v) == 0) return D3D_OK;
  FlushDraws();
  state_.viewport = *viewport;
  state_.dirty |= kKvDirtyViewport;
  return D3D_OK;
}

HRESULT KvDevice::GetViewport(D3DVIEWPORT9* viewport) {
  if (!viewport) return D3DERR_INVALIDCALL;
  *viewport = state_.viewport;
  return D3D_OK;
}

HRESULT KvDevice::SetTexture(DWORD stage, IDirect3DBaseTexture9* texture) {
  if (stage >= D3DSAMPLER_COUNT) return D3DERR_INVALIDCALL;
  if (stage == 0) Store(state_.texture, texture, kKvDirtyTexture);
  return D3D_OK;
}

HRESULT KvDevice::GetTexture(DWORD stage, IDirect3DBaseTexture9** texture) {
  if (!texture || stage >= D3DSAMPLER_COUNT) return D3DERR_INVALIDCALL;
  *texture = stage == 0 ? state_.texture : nullptr;
  if (*texture) (*texture)->AddRef();
  return D3D_OK;
}

HRESULT KvDevice::SetStreamSource(UINT stream, IDirect3DVertexBuffer9* buffer, UINT offset,
                                  UINT stride) {
  if (stream != 0) return D3DERR_INVALIDCALL;
  if (buffer != state_.stream || offset != state_.streamOffset || stride != state_.streamStride) {
    FlushDraws();
    state_.stream = buffer;
    state_.streamOffset = offset;
    state_.streamStride = stride;
    state_.dirty |= kKvDirtyStream;
  }
  return D3D_OK;
}

HRESULT KvDevice::GetStreamSource(UINT stream, IDirect3DVertexBuffer9** buffer, UINT* offset,
                                  UINT* stride) {
  if (stream != 0 || !buffer || !offset || !stride) return D3DERR_INVALIDCALL;
  *buffer = state_.stream;
  if (*buffer) (*buffer)->AddRef();
  *offset = state_.streamOffset;
  *stride = state_.streamStride;
  return D3D_OK;
}

// Indexed draws bind their index buffer themselves.
HRESULT KvDevice::SetIndices(IDirect3DIndexBuffer9* buffer) {
  Store(state_.indices, buffer, 0);
  return D3D_OK;
}

HRESULT KvDevice::SetFVF(DWORD fvf) {
  Store(state_.fvf, fvf, kKvDirtyStream);
  return D3D_OK;
}

HRESULT KvDevice::GetFVF(DWORD* fvf) {
  if (!fvf) return D3DERR_INVALIDCALL;
  *fvf = state_.fvf;
  return D3D_OK;
}
