// Inside the platform layer: the device over OpenGL and the resources it creates.
#pragma once

#include <epoxy/gl.h>

#include <array>
#include <vector>

#include "platform/d3dx9.h"
#include "platform/ref_counted.h"
#include "platform/win32/internal.h"

class KvDevice;

// A shader program that stands in for the fixed-function pipeline.
struct KvShaderProgram {
  GLuint name = 0;
  GLint alphaFunction = -1;
  GLint alphaReference = -1;
};
bool KvCreateFixedFunctionProgram(bool textured, bool alphaTested, KvShaderProgram& program);
// The program Present draws the back buffer with; 0 if it cannot be made.
GLuint KvCreatePresentProgram();

// A buffer of vertices or indices: a copy in memory that Lock hands out, mirrored into an
// OpenGL buffer by Unlock. It holds its device until it is released.
template <class Interface>
class KvBuffer final : public KvRefCounted<Interface> {
 public:
  KvBuffer(KvDevice* device, UINT length, DWORD format);
  ~KvBuffer() override;
  HRESULT GetDevice(IDirect3DDevice9** device) override;
  HRESULT Lock(UINT offset, UINT size, void** data, DWORD flags) override;
  HRESULT Unlock() override;

  GLuint Name() const { return name_; }
  UINT Length() const { return static_cast<UINT>(memory_.size()); }
  const BYTE* Data() const { return memory_.data(); }
  DWORD Format() const { return format_; }  // FVF of a vertex buffer, index format otherwise

 private:
  KvDevice* device_;
  std::vector<BYTE> memory_;
  DWORD format_;
  GLuint name_ = 0;
  bool locked_ = false;
};
using KvVertexBuffer = KvBuffer<IDirect3DVertexBuffer9>;
using KvIndexBuffer = KvBuffer<IDirect3DIndexBuffer9>;

// A 2D texture in A8R8G8B8 with its full chain of levels, kept in memory as well (managed).
class KvTexture final : public KvRefCounted<IDirect3DTexture9> {
 public:
  KvTexture(KvDevice* device, UINT width, UINT height, UINT levels, D3DPOOL pool);
  ~KvTexture() override;
  HRESULT GetDevice(IDirect3DDevice9** device) override;
  DWORD GetLevelCount() override { return static_cast<DWORD>(levels_.size()); }
  HRESULT GetLevelDesc(UINT level, D3DSURFACE_DESC* desc) override;
  HRESULT LockRect(UINT level, D3DLOCKED_RECT* locked, const RECT* rect, DWORD flags) override;
  HRESULT UnlockRect(UINT level) override;

  GLuint Name() const { return name_; }

 private:
  struct Level {
    UINT width;
    UINT height;
    std::vector<DWORD> texels;
  };
  KvDevice* device_;
  D3DPOOL pool_;
  std::vector<Level> levels_;
  GLuint name_ = 0;
  int lockedLevel_ = -1;
};

// Full mip chain length of a width × height image.
UINT KvFullMipCount(UINT width, UINT height);

class KvDevice final : public KvRefCounted<IDirect3DDevice9> {
 public:
  // Creates the OpenGL context and the offscreen back buffer; null (reason recorded) when an
  // OpenGL 3.3 core context cannot be had.
  static KvDevice* Create(IDirect3D9* owner, HWND window, const D3DPRESENT_PARAMETERS& params);
  ~KvDevice() override;

  HRESULT SetRenderState(D3DRENDERSTATETYPE state, DWORD value) override;
  HRESULT GetRenderState(D3DRENDERSTATETYPE state, DWORD* value) override;
  HRESULT SetSamplerState(DWORD sampler, D3DSAMPLERSTATETYPE type, DWORD value) override;
  HRESULT GetSamplerState(DWORD sampler, D3DSAMPLERSTATETYPE type, DWORD* value) override;
  HRESULT SetTransform(D3DTRANSFORMSTATETYPE state, const D3DMATRIX* matrix) override;
  HRESULT GetTransform(D3DTRANSFORMSTATETYPE state, D3DMATRIX* matrix) override;
  HRESULT SetViewport(const D3DVIEWPORT9* viewport) override;
  HRESULT GetViewport(D3DVIEWPORT9* viewport) override;
  HRESULT Clear(DWORD count, const D3DRECT* rects, DWORD flags, D3DCOLOR color, float z,
                DWORD stencil) override;
  HRESULT BeginScene() override;
  HRESULT EndScene() override;
  HRESULT Present(const RECT* sourceRect, const RECT* destRect, HWND destWindow,
                  const RGNDATA* dirtyRegion) override;
  HRESULT SetTexture(DWORD stage, IDirect3DBaseTexture9* texture) override;
  HRESULT GetTexture(DWORD stage, IDirect3DBaseTexture9** texture) override;
  HRESULT CreateVertexBuffer(UINT length, DWORD usage, DWORD fvf, D3DPOOL pool,
                             IDirect3DVertexBuffer9** buffer, HANDLE* sharedHandle) override;
  HRESULT CreateIndexBuffer(UINT length, DWORD usage, D3DFORMAT format, D3DPOOL pool,
                            IDirect3DIndexBuffer9** buffer, HANDLE* sharedHandle) override;
  HRESULT CreateTexture(UINT width, UINT height, UINT levels, DWORD usage, D3DFORMAT format,
                        D3DPOOL pool, IDirect3DTexture9** texture, HANDLE* sharedHandle) override;
  HRESULT SetStreamSource(UINT stream, IDirect3DVertexBuffer9* buffer, UINT offset,
                          UINT stride) override;
  HRESULT GetStreamSource(UINT stream, IDirect3DVertexBuffer9** buffer, UINT* offset,
                          UINT* stride) override;
  HRESULT SetIndices(IDirect3DIndexBuffer9* buffer) override;
  HRESULT SetFVF(DWORD fvf) override;
  HRESULT GetFVF(DWORD* fvf) override;
  HRESULT DrawPrimitive(D3DPRIMITIVETYPE type, UINT startVertex, UINT primitiveCount) override;
  HRESULT DrawIndexedPrimitive(D3DPRIMITIVETYPE type, INT baseVertexIndex, UINT minVertexIndex,
                               UINT numVertices, UINT startIndex, UINT primitiveCount) override;

  // A resource going away: the draws waiting to read it are issued, and it is bound no more.
  // The device takes no reference on what is bound, as every resource holds the device.
  void Forget(IDirect3DBaseTexture9* texture);
  void Forget(IDirect3DVertexBuffer9* buffer);
  void Forget(IDirect3DIndexBuffer9* buffer);
  // Makes this device's OpenGL context current (resources call it before touching OpenGL).
  void MakeCurrent();
  // Issues the draws waiting to be gathered; resources call it before changing contents
  // those draws read.
  void FlushDraws();
  // Whether draws that differ only in the world transform are gathered (on by default).
  void SetDrawBatching(bool on);
  // Something outside the device changed OpenGL bindings: apply every state again.
  void MarkStateDirty() {
    stateDirty_ = true;
    streamDirty_ = true;
  }
  UINT Width() const { return width_; }
  UINT Height() const { return height_; }
  // Back buffer as ARGB, rows top to bottom.
  void ReadBackBuffer(std::vector<DWORD>& pixels);
  bool ReadPresented(std::vector<DWORD>& pixels, UINT& width, UINT& height) const;

 private:
  KvDevice(IDirect3D9* owner, HWND window, SDL_GLContext context, UINT width, UINT height);
  bool CreateTargets();
  void ApplyState();
  void ApplyBlendAndDepth();
  void ApplyCulling();
  void ApplyTexture();
  void SelectProgram();
  void DrawBackBuffer(int drawableWidth, int drawableHeight);
  UINT StreamStride() const;
  bool StreamHolds(UINT firstVertex, UINT vertexCount) const;
  void BindVertexStream();
  void PointAttributes(GLuint buffer, size_t offset, UINT stride);
  const D3DXMATRIX& WorldViewProjection();
  void SetTransformAttribute(const D3DXMATRIX& worldViewProjection);
  void DrawInstanced();
  void DrawExpanded(const std::vector<GLuint>& corners);
  void PrepareExpandedIndices(const std::vector<GLuint>& corners, size_t count, size_t draws);
  // Consecutive DrawPrimitive calls of the same primitives from the same stream, waiting to
  // be issued as one instanced draw with one transform per call.
  struct PendingDraws {
    GLenum mode = 0;
    GLint first = 0;
    GLsizei count = 0;
    std::vector<D3DXMATRIX> transforms;
  };
  // What the index list of expanded runs holds: `corners` repeated for `draws` copies of
  // `count` vertices.
  struct ExpandedIndices {
    std::vector<GLuint> corners;
    size_t count = 0;
    size_t draws = 0;
  };

  IDirect3D9* owner_;
  HWND window_;
  SDL_GLContext context_;
  UINT width_;
  UINT height_;
  GLuint framebuffer_ = 0;
  GLuint colorTexture_ = 0;
  GLuint depthBuffer_ = 0;
  GLuint vertexArray_ = 0;
  GLuint presentArray_ = 0;  // no attributes: the present draw makes its own corners
  GLuint presentProgram_ = 0;
  GLuint sampler_ = 0;
  GLuint instanceBuffer_ = 0;    // one transform per instance, or per expanded vertex
  GLuint expandedVertices_ = 0;  // a gathered run's vertices, one copy per draw
  GLuint expandedIndices_ = 0;
  // Indexed by (textured ? 1 : 0) | (alpha tested ? 2 : 0); made on first use.
  std::array<KvShaderProgram, 4> programs_{};
  const KvShaderProgram* program_ = nullptr;

  std::array<DWORD, D3DRS_COUNT> renderStates_{};
  std::array<std::array<DWORD, D3DSAMP_COUNT>, D3DSAMPLER_COUNT> samplerStates_{};
  D3DXMATRIX world_;
  D3DXMATRIX view_;
  D3DXMATRIX projection_;
  D3DXMATRIX worldViewProjection_;
  D3DVIEWPORT9 viewport_;
  // What is bound is not referenced: a resource unbinds itself when it is destroyed.
  IDirect3DBaseTexture9* texture_ = nullptr;
  IDirect3DVertexBuffer9* stream_ = nullptr;
  UINT streamOffset_ = 0;
  UINT streamStride_ = 0;
  IDirect3DIndexBuffer9* indices_ = nullptr;
  DWORD fvf_ = 0;
  bool inScene_ = false;
  bool stateDirty_ = true;
  bool transformsChanged_ = true;  // worldViewProjection_ needs computing again
  bool batching_ = true;
  PendingDraws pending_;
  ExpandedIndices expandedIndexList_;
  bool streamDirty_ = true;
  std::vector<DWORD> presented_;
  UINT presentedWidth_ = 0;
  UINT presentedHeight_ = 0;
};

// Whether Present keeps a copy of the presented picture (tests turn it on).
bool& KvKeepPresentedPictures();

// Render-state values a new device starts with.
void KvDefaultRenderStates(std::array<DWORD, D3DRS_COUNT>& states, bool depthBuffer);
