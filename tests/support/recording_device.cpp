#include "tests/support/recording_device.h"

#include <algorithm>
#include <iterator>

namespace {

constexpr D3DMATRIX kIdentity = {{{1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1}}};

// Bytes [offset, offset + size) of a buffer of `length` bytes; size 0 means up to the end.
bool LockRange(UINT length, UINT offset, UINT& size) {
  if (offset > length) return false;
  if (size == 0) size = length - offset;
  return size <= length - offset;
}

}  // namespace

// ---- KvMemoryBuffer -----------------------------------------------------------------------

HRESULT KvMemoryBuffer::Lock(UINT offset, UINT size, void** data) {
  if (data == nullptr || locked_) return D3DERR_INVALIDCALL;
  if (FAILED(lockResult_)) {
    *data = nullptr;
    return lockResult_;
  }
  if (!LockRange(static_cast<UINT>(bytes_.size()), offset, size)) return D3DERR_INVALIDCALL;
  *data = bytes_.data() + offset;
  locked_ = true;
  return D3D_OK;
}

HRESULT KvMemoryBuffer::Unlock() {
  if (!locked_) return D3DERR_INVALIDCALL;
  locked_ = false;
  return D3D_OK;
}

// ---- Resources ----------------------------------------------------------------------------

template <typename Interface>
KvDeviceResource<Interface>::KvDeviceResource(KvRecordingDevice* device) : device_(device) {
  device_->AddRef();
  device_->ResourceCreated();
}

template <typename Interface>
KvDeviceResource<Interface>::~KvDeviceResource() {
  device_->ResourceDestroyed();
  device_->Release();
}

template <typename Interface>
ULONG KvDeviceResource<Interface>::Release() {
  const ULONG left = --references_;
  if (left == 0) delete this;
  return left;
}

template <typename Interface>
HRESULT KvDeviceResource<Interface>::GetDevice(IDirect3DDevice9** device) {
  if (device == nullptr) return D3DERR_INVALIDCALL;
  device_->AddRef();
  *device = device_;
  return D3D_OK;
}

template class KvDeviceResource<IDirect3DVertexBuffer9>;
template class KvDeviceResource<IDirect3DIndexBuffer9>;
template class KvDeviceResource<IDirect3DTexture9>;

KvMemoryTexture::KvMemoryTexture(KvRecordingDevice* device, UINT width, UINT height, UINT levels)
    : KvDeviceResource(device) {
  // levels 0 asks for the full chain, down to 1 x 1.
  for (UINT level = 0; levels == 0 || level < levels; ++level) {
    levels_.push_back({width, std::vector<DWORD>(std::size_t{width} * height)});
    if (width == 1 && height == 1) break;
    width = std::max(1u, width / 2);
    height = std::max(1u, height / 2);
  }
}

HRESULT KvMemoryTexture::LockRect(UINT level, D3DLOCKED_RECT* locked, const RECT* rect,
                                  DWORD /*flags*/) {
  if (locked == nullptr || rect != nullptr || level >= levels_.size()) return D3DERR_INVALIDCALL;
  locked->Pitch = static_cast<INT>(levels_[level].width * sizeof(DWORD));
  locked->pBits = levels_[level].texels.data();
  return D3D_OK;
}

HRESULT KvMemoryTexture::UnlockRect(UINT level) {
  return level < levels_.size() ? D3D_OK : D3DERR_INVALIDCALL;
}

// ---- KvRecordingDevice --------------------------------------------------------------------

std::array<D3DMATRIX, KvRecordingDevice::kTransforms> KvRecordingDevice::IdentityTransforms() {
  std::array<D3DMATRIX, kTransforms> transforms;
  transforms.fill(kIdentity);
  return transforms;
}

std::vector<KvDeviceCallRecord> KvRecordingDevice::CallsOf(KvDeviceCall call) const {
  std::vector<KvDeviceCallRecord> matching;
  std::copy_if(calls_.begin(), calls_.end(), std::back_inserter(matching),
               [call](const KvDeviceCallRecord& record) { return record.call == call; });
  return matching;
}

std::size_t KvRecordingDevice::CountOf(KvDeviceCall call) const {
  return static_cast<std::size_t>(
      std::count_if(calls_.begin(), calls_.end(),
                    [call](const KvDeviceCallRecord& record) { return record.call == call; }));
}

D3DMATRIX KvRecordingDevice::Transform(D3DTRANSFORMSTATETYPE state) const {
  return state < kTransforms ? transforms_[state] : kIdentity;
}

void KvRecordingDevice::Record(const KvDeviceCallRecord& record) {
  if (recording_) calls_.push_back(record);
}

HRESULT KvRecordingDevice::SetRenderState(D3DRENDERSTATETYPE state, DWORD value) {
  if (state >= D3DRS_COUNT) return D3DERR_INVALIDCALL;
  renderStates_[state] = value;
  Record({.call = KvDeviceCall::kSetRenderState, .state = state, .value = value});
  return D3D_OK;
}

HRESULT KvRecordingDevice::SetSamplerState(DWORD sampler, D3DSAMPLERSTATETYPE type, DWORD value) {
  Record({.call = KvDeviceCall::kSetSamplerState, .slot = sampler, .state = type, .value = value});
  return D3D_OK;
}

HRESULT KvRecordingDevice::SetTransform(D3DTRANSFORMSTATETYPE state, const D3DMATRIX* matrix) {
  if (state >= kTransforms || matrix == nullptr) return D3DERR_INVALIDCALL;
  transforms_[state] = *matrix;
  Record({.call = KvDeviceCall::kSetTransform, .state = state, .matrix = *matrix});
  return D3D_OK;
}

HRESULT KvRecordingDevice::GetTransform(D3DTRANSFORMSTATETYPE state, D3DMATRIX* matrix) {
  if (state >= kTransforms || matrix == nullptr) return D3DERR_INVALIDCALL;
  *matrix = Transform(state);
  return D3D_OK;
}

HRESULT KvRecordingDevice::SetViewport(const D3DVIEWPORT9* viewport) {
  if (viewport == nullptr) return D3DERR_INVALIDCALL;
  viewport_ = *viewport;
  Record({.call = KvDeviceCall::kSetViewport});
  return D3D_OK;
}

HRESULT KvRecordingDevice::GetViewport(D3DVIEWPORT9* viewport) {
  if (viewport == nullptr) return D3DERR_INVALIDCALL;
  *viewport = viewport_;
  return D3D_OK;
}

HRESULT KvRecordingDevice::Clear(DWORD /*count*/, const D3DRECT* /*rects*/, DWORD flags,
                                 D3DCOLOR color, float /*z*/, DWORD /*stencil*/) {
  Record({.call = KvDeviceCall::kClear, .state = flags, .value = color});
  return D3D_OK;
}

HRESULT KvRecordingDevice::BeginScene() {
  Record({.call = KvDeviceCall::kBeginScene});
  return beginSceneResult_;
}

HRESULT KvRecordingDevice::EndScene() {
  Record({.call = KvDeviceCall::kEndScene});
  return D3D_OK;
}

HRESULT KvRecordingDevice::Present(const RECT* /*sourceRect*/, const RECT* /*destRect*/,
                                   HWND /*destWindow*/, const RGNDATA* /*dirtyRegion*/) {
  Record({.call = KvDeviceCall::kPresent});
  return D3D_OK;
}

HRESULT KvRecordingDevice::SetTexture(DWORD stage, IDirect3DBaseTexture9* texture) {
  if (stage >= kStages) return D3DERR_INVALIDCALL;
  textures_[stage] = texture;
  Record({.call = KvDeviceCall::kSetTexture, .slot = stage, .resource = texture});
  return D3D_OK;
}

HRESULT KvRecordingDevice::CreateVertexBuffer(UINT length, DWORD /*usage*/, DWORD fvf,
                                              D3DPOOL /*pool*/, IDirect3DVertexBuffer9** buffer,
                                              HANDLE* /*sharedHandle*/) {
  if (buffer == nullptr) return D3DERR_INVALIDCALL;
  *buffer = nullptr;
  if (length == 0 || FAILED(createVertexBufferResult_)) {
    Record({.call = KvDeviceCall::kCreateVertexBuffer, .state = fvf, .value = length});
    return length == 0 ? D3DERR_INVALIDCALL : createVertexBufferResult_;
  }
  *buffer = new KvMemoryVertexBuffer(this, length, bufferLockResult_);
  Record({.call = KvDeviceCall::kCreateVertexBuffer,
          .state = fvf,
          .value = length,
          .resource = *buffer});
  return D3D_OK;
}

HRESULT KvRecordingDevice::CreateIndexBuffer(UINT length, DWORD /*usage*/, D3DFORMAT format,
                                             D3DPOOL /*pool*/, IDirect3DIndexBuffer9** buffer,
                                             HANDLE* /*sharedHandle*/) {
  if (buffer == nullptr) return D3DERR_INVALIDCALL;
  *buffer = nullptr;
  const bool knownFormat = format == D3DFMT_INDEX16 || format == D3DFMT_INDEX32;
  if (length == 0 || !knownFormat) {
    Record({.call = KvDeviceCall::kCreateIndexBuffer, .state = format, .value = length});
    return D3DERR_INVALIDCALL;
  }
  *buffer = new KvMemoryIndexBuffer(this, length, bufferLockResult_);
  Record({.call = KvDeviceCall::kCreateIndexBuffer,
          .state = format,
          .value = length,
          .resource = *buffer});
  return D3D_OK;
}

HRESULT KvRecordingDevice::CreateTexture(UINT width, UINT height, UINT levels, DWORD /*usage*/,
                                         D3DFORMAT format, D3DPOOL /*pool*/,
                                         IDirect3DTexture9** texture, HANDLE* /*sharedHandle*/) {
  if (texture == nullptr) return D3DERR_INVALIDCALL;
  *texture = nullptr;
  const bool knownFormat = format == D3DFMT_A8R8G8B8 || format == D3DFMT_X8R8G8B8;
  if (width == 0 || height == 0 || !knownFormat) {
    Record({.call = KvDeviceCall::kCreateTexture, .state = format});
    return D3DERR_INVALIDCALL;
  }
  *texture = new KvMemoryTexture(this, width, height, levels);
  Record({.call = KvDeviceCall::kCreateTexture, .state = format, .resource = *texture});
  return D3D_OK;
}

HRESULT KvRecordingDevice::SetStreamSource(UINT stream, IDirect3DVertexBuffer9* buffer, UINT offset,
                                           UINT stride) {
  if (stream >= kStreams) return D3DERR_INVALIDCALL;
  streams_[stream] = buffer;
  Record({.call = KvDeviceCall::kSetStreamSource,
          .slot = stream,
          .value = offset,
          .start = stride,
          .resource = buffer});
  return D3D_OK;
}

HRESULT KvRecordingDevice::SetIndices(IDirect3DIndexBuffer9* buffer) {
  indices_ = buffer;
  Record({.call = KvDeviceCall::kSetIndices, .resource = buffer});
  return D3D_OK;
}

HRESULT KvRecordingDevice::SetFVF(DWORD fvf) {
  Record({.call = KvDeviceCall::kSetFVF, .value = fvf});
  return D3D_OK;
}

HRESULT KvRecordingDevice::DrawPrimitive(D3DPRIMITIVETYPE type, UINT startVertex,
                                         UINT primitiveCount) {
  if (recording_) {
    Record({.call = KvDeviceCall::kDrawPrimitive,
            .state = type,
            .start = startVertex,
            .primitiveCount = primitiveCount,
            .resource = streams_[0],
            .matrix = Transform(D3DTS_WORLD)});
  }
  return D3D_OK;
}

HRESULT KvRecordingDevice::DrawIndexedPrimitive(D3DPRIMITIVETYPE type, INT /*baseVertexIndex*/,
                                                UINT /*minVertexIndex*/, UINT /*numVertices*/,
                                                UINT startIndex, UINT primitiveCount) {
  if (recording_) {
    Record({.call = KvDeviceCall::kDrawIndexedPrimitive,
            .state = type,
            .start = startIndex,
            .primitiveCount = primitiveCount,
            .resource = indices_,
            .matrix = Transform(D3DTS_WORLD)});
  }
  return D3D_OK;
}
