#include "tests/support/recording_device.h"

#include <algorithm>

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

KvRecordingDevice::KvRecordingDevice() {
  transforms_.fill({{{1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1}}});
}

HRESULT KvRecordingDevice::SetTransform(D3DTRANSFORMSTATETYPE state, const D3DMATRIX* matrix) {
  if (state >= transforms_.size() || matrix == nullptr) return D3DERR_INVALIDCALL;
  transforms_[state] = *matrix;
  if (state == D3DTS_PROJECTION) ++projectionsSet;
  return D3D_OK;
}

HRESULT KvRecordingDevice::GetTransform(D3DTRANSFORMSTATETYPE state, D3DMATRIX* matrix) {
  if (state >= transforms_.size() || matrix == nullptr) return D3DERR_INVALIDCALL;
  *matrix = transforms_[state];
  return D3D_OK;
}

HRESULT KvRecordingDevice::CreateVertexBuffer(UINT length, DWORD, DWORD, D3DPOOL,
                                              IDirect3DVertexBuffer9** buffer, HANDLE*) {
  if (buffer == nullptr) return D3DERR_INVALIDCALL;
  const HRESULT result = length == 0 ? D3DERR_INVALIDCALL : createVertexBufferResult_;
  *buffer = FAILED(result) ? nullptr : new KvMemoryVertexBuffer(this, length, bufferLockResult_);
  return result;
}

HRESULT KvRecordingDevice::CreateIndexBuffer(UINT length, DWORD, D3DFORMAT format, D3DPOOL,
                                             IDirect3DIndexBuffer9** buffer, HANDLE*) {
  if (buffer == nullptr) return D3DERR_INVALIDCALL;
  const bool valid = length > 0 && (format == D3DFMT_INDEX16 || format == D3DFMT_INDEX32);
  *buffer = valid ? new KvMemoryIndexBuffer(this, length, bufferLockResult_) : nullptr;
  return valid ? D3D_OK : D3DERR_INVALIDCALL;
}

HRESULT KvRecordingDevice::CreateTexture(UINT width, UINT height, UINT levels, DWORD,
                                         D3DFORMAT format, D3DPOOL, IDirect3DTexture9** texture,
                                         HANDLE*) {
  if (texture == nullptr) return D3DERR_INVALIDCALL;
  const bool knownFormat = format == D3DFMT_A8R8G8B8 || format == D3DFMT_X8R8G8B8;
  const bool valid = width > 0 && height > 0 && knownFormat;
  *texture = valid ? new KvMemoryTexture(this, width, height, levels) : nullptr;
  return valid ? D3D_OK : D3DERR_INVALIDCALL;
}
