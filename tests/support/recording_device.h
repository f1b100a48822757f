// A Direct3D 9 device for unit tests that draws nothing: it keeps the state tests read back
// (render states from zero, transforms from identity, viewport, textures), records every call
// in order, and keeps buffers and textures in memory so that data written through Lock can be
// read back. Get* reads that no code under test makes fail. The device starts with one
// reference and Release never deletes it: tests read RefCount() to see every reference given
// back. Buffers and textures hold a device reference; set resources are plain pointers.
#pragma once

#include <array>
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

class KvRecordingDevice final : public IDirect3DDevice9 {
 public:
  KvRecordingDevice();
  KvRecordingDevice(const KvRecordingDevice&) = delete;
  KvRecordingDevice& operator=(const KvRecordingDevice&) = delete;

  // ---- Inspection and control for tests ------------------------------------------------
  const std::vector<KvDeviceCallRecord>& Calls() const { return calls_; }
  std::vector<KvDeviceCallRecord> CallsOf(KvDeviceCall call) const;
  std::size_t CountOf(KvDeviceCall call) const { return CallsOf(call).size(); }
  void ClearCalls() { calls_.clear(); }
  // With recording off the state is still kept; only the call list stops growing.
  void SetRecording(bool on) { recording_ = on; }
  ULONG RefCount() const { return references_; }
  // Buffers and textures created and not yet destroyed; the resources keep it.
  int& LiveResources() { return liveResources_; }
  DWORD RenderState(D3DRENDERSTATETYPE state) const { return renderStates_[state]; }
  D3DMATRIX Transform(D3DTRANSFORMSTATETYPE state) const { return transforms_.at(state); }
  IDirect3DBaseTexture9* Texture(DWORD stage) const { return textures_[stage]; }
  // Results to give instead of success, for failure paths; the lock result applies to the
  // buffers created from then on.
  void SetCreateVertexBufferResult(HRESULT result) { createVertexBufferResult_ = result; }
  void SetBufferLockResult(HRESULT result) { bufferLockResult_ = result; }
  void SetBeginSceneResult(HRESULT result) { beginSceneResult_ = result; }

  // ---- IUnknown and IDirect3DDevice9 ---------------------------------------------------
  ULONG AddRef() override { return ++references_; }
  ULONG Release() override { return references_ == 0 ? 0 : --references_; }
  HRESULT SetRenderState(D3DRENDERSTATETYPE state, DWORD value) override {
    if (state >= D3DRS_COUNT) return D3DERR_INVALIDCALL;
    renderStates_[state] = value;
    return Record({KvDeviceCall::kSetRenderState, 0, DWORD(state), value});
  }
  HRESULT GetRenderState(D3DRENDERSTATETYPE, DWORD*) override { return D3DERR_INVALIDCALL; }
  HRESULT SetSamplerState(DWORD sampler, D3DSAMPLERSTATETYPE type, DWORD value) override {
    return Record({KvDeviceCall::kSetSamplerState, sampler, DWORD(type), value});
  }
  HRESULT GetSamplerState(DWORD, D3DSAMPLERSTATETYPE, DWORD*) override {
    return D3DERR_INVALIDCALL;
  }
  HRESULT SetTransform(D3DTRANSFORMSTATETYPE state, const D3DMATRIX* matrix) override;
  HRESULT GetTransform(D3DTRANSFORMSTATETYPE state, D3DMATRIX* matrix) override;
  HRESULT SetViewport(const D3DVIEWPORT9* viewport) override {
    if (viewport != nullptr) viewport_ = *viewport;
    return viewport ? Record({KvDeviceCall::kSetViewport}) : D3DERR_INVALIDCALL;
  }
  HRESULT GetViewport(D3DVIEWPORT9* viewport) override {
    if (viewport != nullptr) *viewport = viewport_;
    return viewport ? D3D_OK : D3DERR_INVALIDCALL;
  }
  HRESULT Clear(DWORD, const D3DRECT*, DWORD flags, D3DCOLOR color, float, DWORD) override {
    return Record({KvDeviceCall::kClear, 0, flags, color});
  }
  HRESULT BeginScene() override {
    Record({KvDeviceCall::kBeginScene});
    return beginSceneResult_;
  }
  HRESULT EndScene() override { return Record({KvDeviceCall::kEndScene}); }
  HRESULT Present(const RECT*, const RECT*, HWND, const RGNDATA*) override {
    return Record({KvDeviceCall::kPresent});
  }
  HRESULT SetTexture(DWORD stage, IDirect3DBaseTexture9* texture) override {
    if (stage >= textures_.size()) return D3DERR_INVALIDCALL;
    textures_[stage] = texture;
    return Record({.call = KvDeviceCall::kSetTexture, .slot = stage, .resource = texture});
  }
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
  HRESULT SetIndices(IDirect3DIndexBuffer9* buffer) override {
    indices_ = buffer;
    return Record({.call = KvDeviceCall::kSetIndices, .resource = buffer});
  }
  HRESULT SetFVF(DWORD fvf) override { return Record({KvDeviceCall::kSetFVF, 0, 0, fvf}); }
  HRESULT GetFVF(DWORD*) override { return D3DERR_INVALIDCALL; }
  HRESULT DrawPrimitive(D3DPRIMITIVETYPE type, UINT startVertex, UINT primitiveCount) override {
    return Record({KvDeviceCall::kDrawPrimitive, 0, DWORD(type), 0, startVertex, primitiveCount,
                   streams_[0], transforms_[D3DTS_WORLD]});
  }
  HRESULT DrawIndexedPrimitive(D3DPRIMITIVETYPE type, INT, UINT, UINT, UINT startIndex,
                               UINT primitiveCount) override {
    return Record({KvDeviceCall::kDrawIndexedPrimitive, 0, DWORD(type), 0, startIndex,
                   primitiveCount, indices_, transforms_[D3DTS_WORLD]});
  }

 private:
  HRESULT Record(const KvDeviceCallRecord& record);

  std::vector<KvDeviceCallRecord> calls_;
  bool recording_ = true;
  ULONG references_ = 1;
  int liveResources_ = 0;
  std::array<DWORD, D3DRS_COUNT> renderStates_{};
  std::array<D3DMATRIX, D3DTS_WORLD + 1> transforms_;
  D3DVIEWPORT9 viewport_{0, 0, 800, 600, 0.0f, 1.0f};
  std::array<IDirect3DBaseTexture9*, 8> textures_{};
  std::array<IDirect3DVertexBuffer9*, 16> streams_{};  // the buffer each stream draws from
  IDirect3DIndexBuffer9* indices_ = nullptr;
  HRESULT createVertexBufferResult_ = D3D_OK;
  HRESULT bufferLockResult_ = D3D_OK;
  HRESULT beginSceneResult_ = D3D_OK;
};

// Holds a device reference and counts its own references; the last Release deletes it.
template <typename Interface>
class KvDeviceResource : public Interface {
 public:
  explicit KvDeviceResource(KvRecordingDevice* device) : device_(device) {
    device_->AddRef();
    ++device_->LiveResources();
  }
  ULONG AddRef() override { return ++references_; }
  ULONG Release() override {
    const ULONG left = --references_;
    if (left == 0) delete this;
    return left;
  }
  HRESULT GetDevice(IDirect3DDevice9** device) override {
    if (device == nullptr) return D3DERR_INVALIDCALL;
    *device = device_;
    device_->AddRef();
    return D3D_OK;
  }

 protected:
  ~KvDeviceResource() override {
    --device_->LiveResources();
    device_->Release();
  }

 private:
  KvRecordingDevice* device_;
  ULONG references_ = 1;
};

// A vertex or index buffer (the Interface) in memory; Lock hands out the bytes themselves.
template <typename Interface>
class KvMemoryBuffer final : public KvDeviceResource<Interface> {
 public:
  KvMemoryBuffer(KvRecordingDevice* device, UINT length, HRESULT lockResult)
      : KvDeviceResource<Interface>(device), bytes_(length), lockResult_(lockResult) {}
  HRESULT Lock(UINT offset, UINT size, void** data, DWORD) override {
    if (data == nullptr || locked_) return D3DERR_INVALIDCALL;
    *data = nullptr;
    if (FAILED(lockResult_)) return lockResult_;
    if (size == 0 && offset <= bytes_.size()) size = UINT(bytes_.size()) - offset;
    if (offset > bytes_.size() || size > bytes_.size() - offset) return D3DERR_INVALIDCALL;
    *data = bytes_.data() + offset;
    locked_ = true;
    return D3D_OK;
  }
  HRESULT Unlock() override {
    if (!locked_) return D3DERR_INVALIDCALL;
    locked_ = false;
    return D3D_OK;
  }
  const std::vector<unsigned char>& Bytes() const { return bytes_; }
  bool Locked() const { return locked_; }

 private:
  std::vector<unsigned char> bytes_;
  HRESULT lockResult_;
  bool locked_ = false;
};
using KvMemoryVertexBuffer = KvMemoryBuffer<IDirect3DVertexBuffer9>;
using KvMemoryIndexBuffer = KvMemoryBuffer<IDirect3DIndexBuffer9>;

// A 32-bit ARGB texture; each mip level halves the size down to 1 x 1. Only whole levels lock.
class KvMemoryTexture final : public KvDeviceResource<IDirect3DTexture9> {
 public:
  KvMemoryTexture(KvRecordingDevice* device, UINT width, UINT height, UINT levels);
  DWORD GetLevelCount() override { return static_cast<DWORD>(levels_.size()); }
  HRESULT GetLevelDesc(UINT, D3DSURFACE_DESC*) override { return D3DERR_INVALIDCALL; }
  HRESULT LockRect(UINT level, D3DLOCKED_RECT* locked, const RECT* rect, DWORD) override {
    if (locked == nullptr || rect != nullptr || level >= levels_.size()) return D3DERR_INVALIDCALL;
    locked->Pitch = static_cast<INT>(levels_[level].width * sizeof(DWORD));
    locked->pBits = levels_[level].texels.data();
    return D3D_OK;
  }
  HRESULT UnlockRect(UINT level) override {
    return level < levels_.size() ? D3D_OK : D3DERR_INVALIDCALL;
  }
  // Texels of one level, rows top to bottom, ARGB.
  const std::vector<DWORD>& Texels(UINT level) const { return levels_[level].texels; }

 private:
  struct Level {
    UINT width;
    std::vector<DWORD> texels;
  };
  std::vector<Level> levels_;
};
