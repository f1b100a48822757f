// Textures from image files: the levels are made from the file by the image decoder, then a
// texture of that size and level count is created on the device and filled, row by row at the
// pitch the device locks each level with. The texels are ARGB, so only the 32-bit formats that
// hold them (A8R8G8B8, and X8R8G8B8, which ignores the alpha) can be filled; any other is
// refused rather than filled with texels it does not hold.
#include <cstring>

#include "platform/d3dx9.h"
#include "platform/image/image_decode.h"
#include "platform/image/image_header.h"
#include "platform/xfile/file_io.h"

namespace {

constexpr std::size_t kLargestFile = 64u << 20;

bool Upload(IDirect3DTexture9* texture, UINT level, const KvImage& image) {
  D3DLOCKED_RECT locked;
  const std::size_t rowBytes = std::size_t(image.width) * sizeof(DWORD);
  if (FAILED(texture->LockRect(level, &locked, nullptr, 0))) return false;
  if (locked.Pitch < 0 || std::size_t(locked.Pitch) < rowBytes) {
    texture->UnlockRect(level);
    return false;
  }
  for (unsigned y = 0; y < image.height; ++y) {
    std::memcpy(static_cast<BYTE*>(locked.pBits) + std::size_t(y) * locked.Pitch,
                image.texels.data() + std::size_t(y) * image.width, rowBytes);
  }
  texture->UnlockRect(level);
  return true;
}

bool Fillable(D3DFORMAT format) {
  return format == D3DFMT_A8R8G8B8 || format == D3DFMT_X8R8G8B8;
}

D3DXIMAGE_FILEFORMAT FileFormatOf(const std::vector<std::uint8_t>& bytes) {
  KvImageHeader header;
  KvReadImageHeader(bytes.data(), bytes.size(), header);
  switch (header.format) {
    case KvImageFormat::kPng:
      return D3DXIFF_PNG;
    case KvImageFormat::kJpeg:
      return D3DXIFF_JPG;
    case KvImageFormat::kBmp:
      return D3DXIFF_BMP;
    case KvImageFormat::kTga:
      break;
  }
  return D3DXIFF_TGA;
}

// The filter a D3DX_FILTER value names in its low byte (the flags above it, such as dither, are
// not emulated); no filter at all resamples as the point filter does. D3DX_DEFAULT is `fallback`.
KvImageFilter FilterOf(DWORD filter, KvImageFilter fallback) {
  if (filter == D3DX_DEFAULT) return fallback;
  switch (filter & 0xFF) {
    case D3DX_FILTER_NONE:
    case D3DX_FILTER_POINT:
      return KvImageFilter::kPoint;
    case D3DX_FILTER_LINEAR:
      return KvImageFilter::kLinear;
    case D3DX_FILTER_BOX:
      return KvImageFilter::kBox;
    default:
      return KvImageFilter::kTriangle;
  }
}

}  // namespace

HRESULT D3DXCreateTextureFromFileExA(IDirect3DDevice9* device, LPCSTR fileName, UINT width,
                                     UINT height, UINT mipLevels, DWORD usage, D3DFORMAT format,
                                     D3DPOOL pool, DWORD filter, DWORD mipFilter, D3DCOLOR colorKey,
                                     D3DXIMAGE_INFO* sourceInfo, PALETTEENTRY*,
                                     IDirect3DTexture9** texture) {
  if (!texture) return D3DERR_INVALIDCALL;
  *texture = nullptr;
  if (!device || !fileName) return D3DERR_INVALIDCALL;
  std::vector<std::uint8_t> bytes;
  if (!KvReadWholeFile(fileName, bytes, kLargestFile)) return D3DXERR_INVALIDDATA;
  const KvImageFilters defaults;
  const KvImageFilters filters{FilterOf(filter, defaults.image), FilterOf(mipFilter, defaults.mip)};
  KvTextureImage image;
  const KvImageStatus status = KvDecodeTextureImage(bytes.data(), bytes.size(), width, height,
                                                    mipLevels, colorKey, image, {}, filters);
  if (status == KvImageStatus::kBadFile) return D3DXERR_INVALIDDATA;
  if (sourceInfo) {
    *sourceInfo = D3DXIMAGE_INFO{image.sourceWidth, image.sourceHeight, 1, 1, D3DFMT_A8R8G8B8,
                                 D3DRTYPE_TEXTURE,  FileFormatOf(bytes)};
  }
  if (status == KvImageStatus::kBadTextureSize) return D3DERR_INVALIDCALL;
  if (format == D3DFMT_UNKNOWN) format = D3DFMT_A8R8G8B8;
  if (!Fillable(format)) return D3DERR_INVALIDCALL;
  const KvImage& top = image.levels.front();
  const UINT levels = UINT(image.levels.size());
  IDirect3DTexture9* created = nullptr;
  const HRESULT result =
      device->CreateTexture(top.width, top.height, levels, usage, format, pool, &created, nullptr);
  if (FAILED(result)) return result;
  for (UINT i = 0; i < created->GetLevelCount() && i < levels; ++i) {
    if (!Upload(created, i, image.levels[i])) {
      created->Release();
      return D3DERR_INVALIDCALL;
    }
  }
  *texture = created;
  return D3D_OK;
}

HRESULT D3DXCreateTextureFromFileA(IDirect3DDevice9* device, LPCSTR fileName,
                                   IDirect3DTexture9** texture) {
  return D3DXCreateTextureFromFileExA(device, fileName, D3DX_DEFAULT, D3DX_DEFAULT, D3DX_DEFAULT, 0,
                                      D3DFMT_UNKNOWN, D3DPOOL_MANAGED, D3DX_DEFAULT, D3DX_DEFAULT,
                                      0, nullptr, nullptr, texture);
}
