// A Direct3D 9 device for unit tests that draws nothing: it keeps the state tests read back
// (render states, starting at zero; transforms, starting at identity; viewport; textures) and
// records every call in order. Vertex and index buffers and textures live in memory, so data
// written through Lock can be read back. The Get* reads that no code under test makes (render
// and sampler state, texture, stream source, FVF, level description) fail.
//
// Lifetime: the device starts with one reference and is never deleted by Release: the test
// owns it (on the stack or as a member) and can read RefCount() to see that everything that
// took a reference gave it back. Buffers and textures hold a reference to the device until
// their own last Release, as on the real device. Set textures, stream sources and index
// buffers are stored as plain pointers: the device takes no reference on them.
#pragma once

#include <array>
#include <cstddef>
#include <vector>

#include "platform/d3d9.h"

enum class KvDeviceCall {
  kSetRenderState,
  kSetSamplerState,
  kSetTransform,
  kSetViewport,
  kClear,
  kBeginScene,
  kEndScene,
  kPresent,
  kSetTexture,
  kCreateVertexBuffer,
  kCreateIndexBuffer,
  kCreateTexture,
  kSetStreamSource,
  kSetIndices,
  kSetFVF,
  kDrawPrimitive,
  kDrawIndexedPrimitive,
};

// One recorded call. Fields a call does not use stay zero.
struct KvDeviceCallRecord {
  KvDeviceCall call;
  DWORD slot = 0;   // sampler, texture stage or stream number
  DWORD state = 0;  // render or sampler state, transform type, primitive type, clear flags
  DWORD value = 0;  // state value, FVF, clear colour, created buffer's length
  UINT start = 0;   // start vertex or start index of a draw; stride of a stream source
  UINT primitiveCount = 0;
  const void* resource = nullptr;  // texture, vertex or index buffer given or created
  D3DMATRIX matrix{};              // the transform set, or the world transform at a draw
};

// A buffer in memory; Lock hands out the bytes themselves.
class KvMemoryBuffer {
 public:
  KvMemoryBuffer(UINT length, HRESULT lockResult) : bytes_(length), lockResult_(lockResult) {}
  HRESULT Lock(UINT offset, UINT size, void** data);
  HRESULT Unlock();
  const std::vector<unsigned char>& Bytes() const { return bytes_; }
  bool Locked() const { return locked_; }

 private:
  std::vector<unsigned char> bytes_;
  HRESULT lockResult_;
  bool locked_ = false;
};

class KvRecordingDevice;

// Holds a device reference and counts its own references; the last Release deletes it.
template <typename Interface>
class KvDeviceResource : public Interface {
 public:
  explicit KvDeviceResource(KvRecordingDevice* device);
  ULONG AddRef() override { return ++references_; }
  ULONG Release() override;
  HRESULT GetDevice(IDirect3DDevice9** device) override;

 protected:
  ~KvDeviceResource() override;

 private:
  KvRecordingDevice* device_;
  ULONG references_ = 1;
};

// A vertex or index buffer (the Interface) whose bytes are a KvMemoryBuffer.
template <typename Interface>
class KvMemoryBufferResource final : public KvDeviceResource<Interface> {
 public:
  KvMemoryBufferResource(KvRecordingDevice* device, UINT length, HRESULT lockResult)
      : KvDeviceResource<Interface>(device), memory_(length, lockResult) {}
  HRESULT Lock(UINT offset, UINT size, void** data, DWORD /*flags*/) override {
    return memory_.Lock(offset, size, data);
  }
  HRESULT Unlock() override { return memory_.Unlock(); }
  const KvMemoryBuffer& Memory() const { return memory_; }

 private:
  KvMemoryBuffer memory_;
};
using KvMemoryVertexBuffer = KvMemoryBufferResource<IDirect3DVertexBuffer9>;
using KvMemoryIndexBuffer = KvMemoryBufferResource<IDirect3DIndexBuffer9>;

// A 32-bit ARGB texture; each mip level halves the size down to 1 x 1. Only whole levels lock.
class KvMemoryTexture final : public KvDeviceResource<IDirect3DTexture9> {
 public:
  KvMemoryTexture(KvRecordingDevice* device, UINT width, UINT height, UINT levels);
  DWORD GetLevelCount() override { return static_cast<DWORD>(levels_.size()); }
  HRESULT GetLevelDesc(UINT, D3DSURFACE_DESC*) override { return D3DERR_INVALIDCALL; }
  HRESULT LockRect(UINT level, D3DLOCKED_RECT* locked, const RECT* rect, DWORD flags) override;
  HRESULT UnlockRect(UINT level) override;
  // Texels of one level, rows top to bottom, ARGB.
  const std::vector<DWORD>& Texels(UINT level) const { return levels_[level].texels; }

 private:
  struct Level {
    UINT width;
    std::vector<DWORD> texels;
  };
  std::vector<Level> levels_;
};

class KvRecordingDevice final : public IDirect3DDevice9 {
 public:
  KvRecordingDevice() = default;
  ~KvRecordingDevice() override = default;
  KvRecordingDevice(const KvRecordingDevice&) = delete;
  KvRecordingDevice& operator=(const KvRecordingDevice&) = delete;

  // ---- Inspection and control for tests ------------------------------------------------
  const std::vector<KvDeviceCallRecord>& Calls() const { return calls_; }
  std::vector<KvDeviceCallRecord> CallsOf(KvDeviceCall call) const;
  std::size_t CountOf(KvDeviceCall call) const;
  void ClearCalls() { calls_.clear(); }
  // With recording off the state is still kept; only the call list stops growing.
  void SetRecording(bool on) { recording_ = on; }
  ULONG RefCount() const { return references_; }
  // Buffers and textures created and not yet destroyed.
  int LiveResources() const { return liveResources_; }

  DWORD RenderState(D3DRENDERSTATETYPE state) const { return renderStates_[state]; }
  D3DMATRIX Transform(D3DTRANSFORMSTATETYPE state) const;
  IDirect3DBaseTexture9* Texture(DWORD stage) const { return textures_[stage]; }

  // Results to give instead of success, for failure paths.
  void SetCreateVertexBufferResult(HRESULT result) { createVertexBufferResult_ = result; }
  // Lock result of the buffers created from now on.
  void SetBufferLockResult(HRESULT result) { bufferLockResult_ = result; }
  void SetBeginSceneResult(HRESULT result) { beginSceneResult_ = result; }

  // Called by the resources.
  void ResourceCreated() { ++liveResources_; }
  void ResourceDestroyed() { --liveResources_; }

  // ---- IUnknown ------------------------------------------------------------------------
  ULONG AddRef() override { return ++references_; }
  ULONG Release() override { return references_ == 0 ? 0 : --references_; }

  // ---- IDirect3DDevice9 ----------------------------------------------------------------
  HRESULT SetRenderState(D3DRENDERSTATETYPE state, DWORD value) override;
  HRESULT GetRenderState(D3DRENDERSTATETYPE, DWORD*) override { return D3DERR_INVALIDCALL; }
  HRESULT SetSamplerState(DWORD sampler, D3DSAMPLERSTATETYPE type, DWORD value) override;
  HRESULT GetSamplerState(DWORD, D3DSAMPLERSTATETYPE, DWORD*) override {
    return D3DERR_INVALIDCALL;
  }
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
  HRESULT GetTexture(DWORD, IDirect3DBaseTexture9**) override { return D3DERR_INVALIDCALL; }
  HRESULT CreateVertexBuffer(UINT length, DWORD usage, DWORD fvf, D3DPOOL pool,
                             IDirect3DVertexBuffer9** buffer, HANDLE* sharedHandle) override;
  HRESULT CreateIndexBuffer(UINT length, DWORD usage, D3DFORMAT format, D3DPOOL pool,
                            IDirect3DIndexBuffer9** buffer, HANDLE* sharedHandle) override;
  HRESULT CreateTexture(UINT width, UINT height, UINT levels, DWORD usage, D3DFORMAT format,
                        D3DPOOL pool, IDirect3DTexture9** texture, HANDLE* sharedHandle) override;
  HRESULT SetStreamSource(UINT stream, IDirect3DVertexBuffer9* buffer, UINT offset,
                          UINT stride) override;
  HRESULT GetStreamSource(UINT, IDirect3DVertexBuffer9**, UINT*, UINT*) override {
    return D3DERR_INVALIDCALL;
  }
  HRESULT SetIndices(IDirect3DIndexBuffer9* buffer) override;
  HRESULT SetFVF(DWORD fvf) override;
  HRESULT GetFVF(DWORD*) override { return D3DERR_INVALIDCALL; }
  HRESULT DrawPrimitive(D3DPRIMITIVETYPE type, UINT startVertex, UINT primitiveCount) override;
  HRESULT DrawIndexedPrimitive(D3DPRIMITIVETYPE type, INT baseVertexIndex, UINT minVertexIndex,
                               UINT numVertices, UINT startIndex, UINT primitiveCount) override;

 private:
  static constexpr DWORD kStages = 8;
  static constexpr UINT kStreams = 16;
  static constexpr DWORD kTransforms = D3DTS_WORLD + 1;
  static std::array<D3DMATRIX, kTransforms> IdentityTransforms();
  void Record(const KvDeviceCallRecord& record);

  std::vector<KvDeviceCallRecord> calls_;
  bool recording_ = true;
  ULONG references_ = 1;
  int liveResources_ = 0;

  std::array<DWORD, D3DRS_COUNT> renderStates_{};
  std::array<D3DMATRIX, kTransforms> transforms_ = IdentityTransforms();
  D3DVIEWPORT9 viewport_{0, 0, 800, 600, 0.0f, 1.0f};
  std::array<IDirect3DBaseTexture9*, kStages> textures_{};
  std::array<IDirect3DVertexBuffer9*, kStreams> streams_{};  // the buffer each stream draws from
  IDirect3DIndexBuffer9* indices_ = nullptr;

  HRESULT createVertexBufferResult_ = D3D_OK;
  HRESULT bufferLockResult_ = D3D_OK;
  HRESULT beginSceneResult_ = D3D_OK;
};
