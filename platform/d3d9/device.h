// Inside the platform layer: the device over OpenGL.
// Its methods: device.cpp (creation, context, resources, state setters and getters),
// draw.cpp (applying dirty state groups, draws, gathered draws), frame.cpp (scenes, clear,
// presentation, reading the picture back), lost_context.cpp (a context lost and given back).
#pragma once

#include <array>
#include <vector>

#include "platform/d3d9/batch.h"
#include "platform/d3d9/device_state.h"
#include "platform/d3d9/frame_figures.h"
#include "platform/d3d9/gl_cache.h"
#include "platform/d3d9/overlay.h"
#include "platform/d3d9/resources.h"
#include "platform/d3d9/shader.h"
#include "platform/d3dx9.h"
#include "platform/ref_counted.h"
#include "platform/win32/gl_surface.h"

class KvDevice final : public KvRefCounted<IDirect3DDevice9> {
 public:
  // Creates the OpenGL context and the offscreen back buffer; null (reason recorded) when a
  // context of the build's OpenGL (3.3 core or ES 3.0) cannot be had. The device draws
  // straight into the window while the window's drawable has the back buffer's size and a
  // depth buffer of at least 24 bits; otherwise (a resized window, the offscreen video driver,
  // a test reading the back buffer after Present) into the offscreen back buffer, which
  // Present draws over the window.
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
  // Makes this device's OpenGL context current and returns what it has bound (resources bind
  // through it before touching OpenGL).
  KvGlCache& MakeCurrent();
  // Issues the draws waiting to be gathered; resources call it before changing contents
  // those draws read.
  void FlushDraws();
  // Whether draws that differ only in the world transform are gathered (on by default).
  void SetDrawBatching(bool on);
  // The resources the device made, whose OpenGL objects it makes again after a lost context.
  void Adopt(KvDeviceResource* resource);
  void Disown(KvDeviceResource* resource);
  // For tests: the context taken away (lost) or given back without its objects (!lost), as a
  // browser does with a page's WebGL context.
  void SimulateContextLoss(bool lost);
  UINT Width() const { return width_; }
  UINT Height() const { return height_; }
  // Back buffer as ARGB, rows top to bottom.
  void ReadBackBuffer(std::vector<DWORD>& pixels);
  bool ReadPresented(std::vector<DWORD>& pixels, UINT& width, UINT& height) const;

 private:
  KvDevice(IDirect3D9* owner, HWND window, KvGlContext context, UINT width, UINT height,
           bool depthBuffer);
  bool CreateTargets();
  bool CreateBackBuffer();
  void DeleteObjects();
  // Where frames begin and end: follows what became of the context, makes the objects again
  // once it is back, and says whether frames can draw.
  bool FollowContext();
  void RestoreObjects();
  // Compares, and when the value differs issues the waiting draws, stores it and marks the
  // group.
  template <class T>
  void Store(T& slot, const T& value, unsigned group);
  void ApplyState();
  void ApplyViewport();
  void ApplyBlend();
  void ApplyDepth();
  void ApplyCulling();
  void ApplyTexture();
  void SelectProgram();
  void DrawBackBuffer(int drawableWidth, int drawableHeight);
  void DrawOverlay();
  // Draws the frames from now on into the window or the offscreen back buffer.
  void ChooseTarget(int drawableWidth, int drawableHeight);
  UINT StreamStride() const;
  bool StreamHolds(unsigned long long firstVertex, UINT vertexCount) const;
  // The current stream, its attributes starting at vertex `firstVertex`.
  KvDrawBatch::Stream CurrentStream(UINT firstVertex) const;
  const D3DXMATRIX& WorldViewProjection();

  IDirect3D9* owner_;
  HWND window_;
  KvGlContext context_;
  KvGlCache cache_;
  UINT width_;
  UINT height_;
  GLuint framebuffer_ = 0;     // the offscreen back buffer
  GLuint target_ = 0;          // where draws go: framebuffer_, or 0 for the window
  bool windowUsable_ = false;  // the window's framebuffer can serve as the back buffer
  GLuint colorTexture_ = 0;
  GLuint depthBuffer_ = 0;
  GLuint vertexArray_ = 0;
  GLuint presentArray_ = 0;  // no attributes: the present draw makes its own corners
  GLuint presentProgram_ = 0;
  GLuint sampler_ = 0;
  // Indexed by (textured ? 1 : 0) | (alpha tested ? 2 : 0); made on first use.
  std::array<KvShaderProgram, kKvProgramVariants> programs_{};

  KvDeviceState state_;
  D3DXMATRIX worldViewProjection_;
  KvDrawBatch batch_;
  KvFrameFigures figures_;
  KvFiguresOverlay overlay_;
  bool batching_ = true;
  bool inScene_ = false;
  std::vector<KvDeviceResource*> resources_;
  bool contextLost_ = false;  // frames run without drawing while it is
  bool objectsLost_ = false;  // the context is back without the device's objects
  std::vector<DWORD> presented_;
  UINT presentedWidth_ = 0;
  UINT presentedHeight_ = 0;
};

// Whether Present keeps a copy of the presented picture (tests turn it on).
bool& KvKeepPresentedPictures();
// Whether the device always draws into its offscreen back buffer, which stays readable after
// Present (the capture tool turns it on when it saves pictures).
bool& KvDrawOffscreen();
