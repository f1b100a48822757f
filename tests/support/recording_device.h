// A Direct3D 9 device for unit tests that draws nothing: it keeps the transforms (from identity)
// and the stage-0 texture, lists the draws with the texture and world transform each used, and
// keeps buffers and textures in memory so that what Lock wrote can be read back. It starts with
// one reference, which Release never deletes: RefCount() shows every reference given back.
#pragma once

#include <algorithm>
#include <array>
#include <vector>

#include "platform/d3d9.h"

struct KvRecordedDraw {
  IDirect3DBaseTexture9* texture;  // bound to stage 0
  UINT primitiveCount;
  D3DMATRIX world;
};

class KvRecordingDevice final : public IDirect3DDevice9 {
 public:
  KvRecordingDevice() { transforms_.fill({{{1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1}}}); }
  KvRecordingDevice(const KvRecordingDevice&) = delete;
  KvRecordingDevice& operator=(const KvRecordingDevice&) = delete;

  std::vector<KvRecordedDraw> draws;  // grows only while recordDraws is on
  bool recordDraws = true;
  int scenesEnded = 0, presents = 0;
  int liveResources = 0;  // buffers and textures created and not yet destroyed
  ULONG RefCount() const { return references_; }
  D3DMATRIX Transform(D3DTRANSFORMSTATETYPE state) const { return transforms_.at(state); }
  IDirect3DBaseTexture9* texture0 = nullptr;
  // Results to give instead of success, for failure paths; the lock result applies to the
  // buffers created from then on.
  HRESULT createVertexBufferResult = D3D_OK, bufferLockResult = D3D_OK, beginSceneResult = D3D_OK;

  ULONG AddRef() override { return ++references_; }
  ULONG Release() override { return references_ == 0 ? 0 : --references_; }
  HRESULT SetRenderState(D3DRENDERSTATETYPE, DWORD) override { return D3D_OK; }
  HRESULT GetRenderState(D3DRENDERSTATETYPE, DWORD*) override { return D3DERR_INVALIDCALL; }
  HRESULT SetSamplerState(DWORD, D3DSAMPLERSTATETYPE, DWORD) override { return D3D_OK; }
  HRESULT GetSamplerState(DWORD, D3DSAMPLERSTATETYPE, DWORD*) override {
    return D3DERR_INVALIDCALL;
  }
  HRESULT SetTransform(D3DTRANSFORMSTATETYPE state, const D3DMATRIX* matrix) override {
    if (state >= transforms_.size() || matrix == nullptr) return D3DERR_INVALIDCALL;
    transforms_[state] = *matrix;
    return D3D_OK;
  }
  HRESULT GetTransform(D3DTRANSFORMSTATETYPE state, D3DMATRIX* matrix) override {
    if (state >= transforms_.size() || matrix == nullptr) return D3DERR_INVALIDCALL;
    *matrix = transforms_[state];
    return D3D_OK;
  }
  HRESULT SetViewport(const D3DVIEWPORT9*) override { return D3D_OK; }
  HRESULT GetViewport(D3DVIEWPORT9*) override { return D3DERR_INVALIDCALL; }
  HRESULT Clear(DWORD, const D3DRECT*, DWORD, D3DCOLOR, float, DWORD) override { return D3D_OK; }
  HRESULT BeginScene() override { return beginSceneResult; }
  HRESULT EndScene() override { return ++scenesEnded, D3D_OK; }
  HRESULT Present(const RECT*, const RECT*, HWND, const RGNDATA*) override {
    return ++presents, D3D_OK;
  }
  HRESULT SetTexture(DWORD stage, IDirect3DBaseTexture9* texture) override {
    if (stage == 0) texture0 = texture;
    return D3D_OK;
  }
  HRESULT GetTexture(DWORD, IDirect3DBaseTexture9**) override { return D3DERR_INVALIDCALL; }
  HRESULT CreateVertexBuffer(UINT length, DWORD usage, DWORD fvf, D3DPOOL pool,
                             IDirect3DVertexBuffer9** buffer, HANDLE* sharedHandle) override;
  HRESULT CreateIndexBuffer(UINT length, DWORD usage, D3DFORMAT format, D3DPOOL pool,
                            IDirect3DIndexBuffer9** buffer, HANDLE* sharedHandle) override;
  HRESULT CreateTexture(UINT width, UINT height, UINT levels, DWORD usage, D3DFORMAT format,
                        D3DPOOL pool, IDirect3DTexture9** texture, HANDLE* sharedHandle) override;
  HRESULT SetStreamSource(UINT, IDirect3DVertexBuffer9*, UINT, UINT) override { return D3D_OK; }
  HRESULT GetStreamSource(UINT, IDirect3DVertexBuffer9**, UINT*, UINT*) override {
    return D3DERR_INVALIDCALL;
  }
  HRESULT SetIndices(IDirect3DIndexBuffer9*) override { return D3D_OK; }
  HRESULT SetFVF(DWORD) override { return D3D_OK; }
  HRESULT GetFVF(DWORD*) override { return D3DERR_INVALIDCALL; }
  HRESULT DrawPrimitive(D3DPRIMITIVETYPE, UINT, UINT count) override { return Draw(count); }
  HRESULT DrawIndexedPrimitive(D3DPRIMITIVETYPE, INT, UINT, UINT, UINT, UINT count) override {
    return Draw(count);
  }

 private:
  HRESULT Draw(UINT primitiveCount) {
    if (recordDraws) draws.push_back({texture0, primitiveCount, transforms_[D3DTS_WORLD]});
    return D3D_OK;
  }

  ULONG references_ = 1;
  std::array<D3DMATRIX, D3DTS_WORLD + 1> transforms_;
};

// Holds a device reference and counts its own references; the last Release deletes it.
template <typename Interface>
class KvDeviceResource : public Interface {
 public:
  explicit KvDeviceResource(KvRecordingDevice* device) : device_(device) {
    device_->AddRef(), ++device_->liveResources;
  }
  ULONG AddRef() override { return ++references_; }
  ULONG Release() override {
    if (--references_ == 0) return delete this, 0;
    return references_;
  }
  HRESULT GetDevice(IDirect3DDevice9** device) override {
    *device = device_;
    return device_->AddRef(), D3D_OK;
  }

 protected:
  ~KvDeviceResource() override { --device_->liveResources, device_->Release(); }

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
    if (data == nullptr) return D3DERR_INVALIDCALL;
    *data = nullptr;
    if (FAILED(lockResult_)) return lockResult_;
    if (size == 0 && offset <= bytes_.size()) size = UINT(bytes_.size()) - offset;
    if (offset > bytes_.size() || size > bytes_.size() - offset) return D3DERR_INVALIDCALL;
    *data = bytes_.data() + offset;
    return D3D_OK;
  }
  HRESULT Unlock() override { return D3D_OK; }
  const std::vector<unsigned char>& Bytes() const { return bytes_; }

 private:
  std::vector<unsigned char> bytes_;
  HRESULT lockResult_;
};

// A 32-bit ARGB texture; each mip level halves the size down to 1 x 1. Only whole levels lock.
class KvMemoryTexture final : public KvDeviceResource<IDirect3DTexture9> {
 public:
  KvMemoryTexture(KvRecordingDevice* device, UINT width, UINT height, UINT levels)
      : KvDeviceResource(device) {
    for (UINT level = 0; levels == 0 || level < levels; ++level) {  // 0: down to 1 x 1
      levels_.push_back({width, std::vector<DWORD>(std::size_t{width} * height)});
      if (width == 1 && height == 1) break;
      width = std::max(1u, width / 2), height = std::max(1u, height / 2);
    }
  }
  DWORD GetLevelCount() override { return static_cast<DWORD>(levels_.size()); }
  HRESULT GetLevelDesc(UINT, D3DSURFACE_DESC*) override { return D3DERR_INVALIDCALL; }
  HRESULT LockRect(UINT level, D3DLOCKED_RECT* locked, const RECT* rect, DWORD) override {
    if (locked == nullptr || rect != nullptr || level >= levels_.size()) return D3DERR_INVALIDCALL;
    locked->Pitch = static_cast<INT>(levels_[level].width * sizeof(DWORD));
    locked->pBits = levels_[level].texels.data();
    return D3D_OK;
  }
  HRESULT UnlockRect(UINT) override { return D3D_OK; }
  // Texels of one level, rows top to bottom, ARGB.
  const std::vector<DWORD>& Texels(UINT level) const { return levels_[level].texels; }

 private:
  struct Level {
    UINT width;
    std::vector<DWORD> texels;
  };
  std::vector<Level> levels_;
};

inline HRESULT KvRecordingDevice::CreateVertexBuffer(UINT length, DWORD, DWORD, D3DPOOL,
                                                     IDirect3DVertexBuffer9** buffer, HANDLE*) {
  const HRESULT result = length == 0 ? D3DERR_INVALIDCALL : createVertexBufferResult;
  *buffer = FAILED(result)
                ? nullptr
                : new KvMemoryBuffer<IDirect3DVertexBuffer9>(this, length, bufferLockResult);
  return result;
}

inline HRESULT KvRecordingDevice::CreateIndexBuffer(UINT length, DWORD, D3DFORMAT, D3DPOOL,
                                                    IDirect3DIndexBuffer9** buffer, HANDLE*) {
  *buffer = new KvMemoryBuffer<IDirect3DIndexBuffer9>(this, length, bufferLockResult);
  return D3D_OK;
}

inline HRESULT KvRecordingDevice::CreateTexture(UINT width, UINT height, UINT levels, DWORD,
                                                D3DFORMAT, D3DPOOL, IDirect3DTexture9** texture,
                                                HANDLE*) {
  *texture = new KvMemoryTexture(this, width, height, levels);
  return D3D_OK;
}
