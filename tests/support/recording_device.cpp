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
  ++lockCount_;
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

KvMemoryVertexBuffer::KvMemoryVertexBuffer(KvRecordingDevice* device, UINT length, DWORD fvf,
                                           HRESULT lockResult)
    : KvDeviceResource(device), memory_(length, lockResult), fvf_(fvf) {}

HRESULT KvMemoryVertexBuffer::Lock(UINT offset, UINT size, void** data, DWORD /*flags*/) {
  return memory_.Lock(offset, size, data);
}

KvMemoryIndexBuffer::KvMemoryIndexBuffer(KvRecordingDevice* device, UINT length, D3DFORMAT format,
                                         HRESULT lockResult)
    : KvDeviceResource(device), memory_(length, lockResult), format_(format) {}

HRESULT KvMemoryIndexBuffer::Lock(UINT offset, UINT size, void** data, DWORD /*flags*/) {
  return memory_.Lock(offset, size, data);
}

KvMemoryTexture::KvMemoryTexture(KvRecordingDevice* device, UINT width, UINT height, UINT levels,
                                 D3DFORMAT format, D3DPOOL pool)
    : KvDeviceResource(device), format_(format), pool_(pool) {
  // levels 0 asks for the full chain, down to 1 x 1.
  for (UINT level = 0; levels == 0 || level < levels; ++level) {
    levels_.push_back({width, height, std::vector<DWORD>(std::size_t{width} * height)});
    if (width == 1 && height == 1) break;
    width = std::max(1u, width / 2);
    height = std::max(1u, height / 2);
  }
}

HRESULT KvMemoryTexture::GetLevelDesc(UINT level, D3DSURFACE_DESC* desc) {
  if (desc == nullptr || level >= levels_.size()) return D3DERR_INVALIDCALL;
  *desc = {};
  desc->Format = format_;
  desc->Type = D3DRTYPE_SURFACE;
  desc->Pool = pool_;
  desc->Width = levels_[level].width;
  desc->Height = levels_[level].height;
  return D3D_OK;
}

HRESULT KvMemoryTexture::LockRect(UINT level, D3DLOCKED_RECT* locked, const RECT* rect,
                                  DWORD /*flags*/) {
  if (locked == nullptr || level >= levels_.size()) return D3DERR_INVALIDCALL;
  Level& target = levels_[level];
  std::size_t first = 0;
  if (rect != nullptr) {
    if (rect->left < 0 || rect->top < 0 || rect->right > static_cast<LONG>(target.width) ||
        rect->bottom > static_cast<LONG>(target.height)) {
      return D3DERR_INVALIDCALL;
    }
    first = static_cast<std::size_t>(rect->top) * target.width + rect->left;
  }
  locked->Pitch = static_cast<INT>(target.width * sizeof(DWORD));
  locked->pBits = target.texels.data() + first;
  return D3D_OK;
}

HRESULT KvMemoryTexture::UnlockRect(UINT level) {
  return level < levels_.size() ? D3D_OK : D3DERR_INVALIDCALL;
}

// ---- KvRecordingDevice --------------------------------------------------------------------

KvRecordingDevice* KvRecordingDevice::Create() {
  auto* device = new KvRecordingDevice();
  device->deleteOnLastRelease_ = true;
  return device;
}

ULONG KvRecordingDevice::Release() {
  if (references_ == 0) return 0;
  const ULONG left = --references_;
  if (left == 0 && deleteOnLastRelease_) delete this;
  return left;
}

// The Direct3D 9 defaults of the states a fixed-function program touches.
std::array<DWORD, D3DRS_COUNT> KvRecordingDevice::DefaultRenderStates() {
  std::array<DWORD, D3DRS_COUNT> rs{};
  rs[D3DRS_ZENABLE] = D3DZB_TRUE;
  rs[D3DRS_FILLMODE] = D3DFILL_SOLID;
  rs[D3DRS_SHADEMODE] = D3DSHADE_GOURAUD;
  rs[D3DRS_ZWRITEENABLE] = TRUE;
  rs[D3DRS_ALPHATESTENABLE] = FALSE;
  rs[D3DRS_LASTPIXEL] = TRUE;
  rs[D3DRS_SRCBLEND] = D3DBLEND_ONE;
  rs[D3DRS_DESTBLEND] = D3DBLEND_ZERO;
  rs[D3DRS_CULLMODE] = D3DCULL_CCW;
  rs[D3DRS_ZFUNC] = D3DCMP_LESSEQUAL;
  rs[D3DRS_ALPHAREF] = 0;
  rs[D3DRS_ALPHAFUNC] = D3DCMP_ALWAYS;
  rs[D3DRS_ALPHABLENDENABLE] = FALSE;
  rs[D3DRS_SPECULARENABLE] = FALSE;
  rs[D3DRS_CLIPPING] = TRUE;
  rs[D3DRS_LIGHTING] = TRUE;
  rs[D3DRS_COLORVERTEX] = TRUE;
  rs[D3DRS_LOCALVIEWER] = TRUE;
  rs[D3DRS_DIFFUSEMATERIALSOURCE] = D3DMCS_COLOR1;
  rs[D3DRS_SPECULARMATERIALSOURCE] = D3DMCS_COLOR2;
  rs[D3DRS_COLORWRITEENABLE] = 0xF;
  rs[D3DRS_BLENDOP] = D3DBLENDOP_ADD;
  return rs;
}

std::array<std::array<DWORD, D3DSAMP_COUNT>, D3DSAMPLER_COUNT>
KvRecordingDevice::DefaultSamplerStates() {
  std::array<std::array<DWORD, D3DSAMP_COUNT>, D3DSAMPLER_COUNT> samplers{};
  for (auto& sampler : samplers) {
    sampler[D3DSAMP_ADDRESSU] = D3DTADDRESS_WRAP;
    sampler[D3DSAMP_ADDRESSV] = D3DTADDRESS_WRAP;
    sampler[D3DSAMP_ADDRESSW] = D3DTADDRESS_WRAP;
    sampler[D3DSAMP_MAGFILTER] = D3DTEXF_POINT;
    sampler[D3DSAMP_MINFILTER] = D3DTEXF_POINT;
    sampler[D3DSAMP_MIPFILTER] = D3DTEXF_NONE;
    sampler[D3DSAMP_MAXANISOTROPY] = 1;
  }
  return samplers;
}

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

HRESULT KvRecordingDevice::GetRenderState(D3DRENDERSTATETYPE state, DWORD* value) {
  if (state >= D3DRS_COUNT || value == nullptr) return D3DERR_INVALIDCALL;
  *value = renderStates_[state];
  return D3D_OK;
}

HRESULT KvRecordingDevice::SetSamplerState(DWORD sampler, D3DSAMPLERSTATETYPE type, DWORD value) {
  if (sampler >= D3DSAMPLER_COUNT || type >= D3DSAMP_COUNT) return D3DERR_INVALIDCALL;
  samplerStates_[sampler][type] = value;
  Record({.call = KvDeviceCall::kSetSamplerState, .slot = sampler, .state = type, .value = value});
  return D3D_OK;
}

HRESULT KvRecordingDevice::GetSamplerState(DWORD sampler, D3DSAMPLERSTATETYPE type, DWORD* value) {
  if (sampler >= D3DSAMPLER_COUNT || type >= D3DSAMP_COUNT || value == nullptr) {
    return D3DERR_INVALIDCALL;
  }
  *value = samplerStates_[sampler][type];
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

HRESULT KvRecordingDevice::GetTexture(DWORD stage, IDirect3DBaseTexture9** texture) {
  if (stage >= kStages || texture == nullptr) return D3DERR_INVALIDCALL;
  *texture = textures_[stage];
  if (*texture != nullptr) (*texture)->AddRef();
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
  *buffer = new KvMemoryVertexBuffer(this, length, fvf, bufferLockResult_);
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
  if (length == 0 || !knownFormat || FAILED(createIndexBufferResult_)) {
    Record({.call = KvDeviceCall::kCreateIndexBuffer, .state = format, .value = length});
    return FAILED(createIndexBufferResult_) ? createIndexBufferResult_ : D3DERR_INVALIDCALL;
  }
  *buffer = new KvMemoryIndexBuffer(this, length, format, bufferLockResult_);
  Record({.call = KvDeviceCall::kCreateIndexBuffer,
          .state = format,
          .value = length,
          .resource = *buffer});
  return D3D_OK;
}

HRESULT KvRecordingDevice::CreateTexture(UINT width, UINT height, UINT levels, DWORD /*usage*/,
                                         D3DFORMAT format, D3DPOOL pool,
                                         IDirect3DTexture9** texture, HANDLE* /*sharedHandle*/) {
  if (texture == nullptr) return D3DERR_INVALIDCALL;
  *texture = nullptr;
  const bool knownFormat = format == D3DFMT_A8R8G8B8 || format == D3DFMT_X8R8G8B8;
  if (width == 0 || height == 0 || !knownFormat || FAILED(createTextureResult_)) {
    Record({.call = KvDeviceCall::kCreateTexture, .state = format});
    return FAILED(createTextureResult_) ? createTextureResult_ : D3DERR_INVALIDCALL;
  }
  *texture = new KvMemoryTexture(this, width, height, levels, format, pool);
  Record({.call = KvDeviceCall::kCreateTexture, .state = format, .resource = *texture});
  return D3D_OK;
}

HRESULT KvRecordingDevice::SetStreamSource(UINT stream, IDirect3DVertexBuffer9* buffer, UINT offset,
                                           UINT stride) {
  if (stream >= kStreams) return D3DERR_INVALIDCALL;
  streams_[stream] = {buffer, offset, stride};
  Record({.call = KvDeviceCall::kSetStreamSource,
          .slot = stream,
          .value = offset,
          .start = stride,
          .resource = buffer});
  return D3D_OK;
}

HRESULT KvRecordingDevice::GetStreamSource(UINT stream, IDirect3DVertexBuffer9** buffer,
                                           UINT* offset, UINT* stride) {
  if (stream >= kStreams || buffer == nullptr || offset == nullptr || stride == nullptr) {
    return D3DERR_INVALIDCALL;
  }
  *buffer = streams_[stream].buffer;
  if (*buffer != nullptr) (*buffer)->AddRef();
  *offset = streams_[stream].offset;
  *stride = streams_[stream].stride;
  return D3D_OK;
}

HRESULT KvRecordingDevice::SetIndices(IDirect3DIndexBuffer9* buffer) {
  indices_ = buffer;
  Record({.call = KvDeviceCall::kSetIndices, .resource = buffer});
  return D3D_OK;
}

HRESULT KvRecordingDevice::SetFVF(DWORD fvf) {
  fvf_ = fvf;
  Record({.call = KvDeviceCall::kSetFVF, .value = fvf});
  return D3D_OK;
}

HRESULT KvRecordingDevice::GetFVF(DWORD* fvf) {
  if (fvf == nullptr) return D3DERR_INVALIDCALL;
  *fvf = fvf_;
  return D3D_OK;
}

HRESULT KvRecordingDevice::DrawPrimitive(D3DPRIMITIVETYPE type, UINT startVertex,
                                         UINT primitiveCount) {
  if (recording_) {
    Record({.call = KvDeviceCall::kDrawPrimitive,
            .state = type,
            .start = startVertex,
            .primitiveCount = primitiveCount,
            .resource = streams_[0].buffer,
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
