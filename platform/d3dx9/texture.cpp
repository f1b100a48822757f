// Textures from image files: the levels are made from the file by the image decoder, then a
// texture of that size and level count is created on the device and filled.
#include <cstring>

#include "platform/d3dx9.h"
#include "platform/image/image_decode.h"
#include "platform/xfile/file_io.h"

namespace {

constexpr std::size_t kLargestFile = 64u << 20;

void Upload(IDirect3DTexture9* texture, UINT level, const KvImage& image) {
  D3DLOCKED_RECT locked;
  if (FAILED(texture->LockRect(level, &locked, nullptr, 0))) return;
  std::memcpy(locked.pBits, image.texels.data(), image.texels.size() * sizeof(DWORD));
  texture->UnlockRect(level);
}

}  // namespace

HRESULT D3DXCreateTextureFromFileExA(IDirect3DDevice9* device, LPCSTR fileName, UINT width,
                                     UINT height, UINT mipLevels, DWORD usage, D3DFORMAT format,
                                     D3DPOOL pool, DWORD, DWORD, D3DCOLOR colorKey,
                                     D3DXIMAGE_INFO* sourceInfo, PALETTEENTRY*,
                                     IDirect3DTexture9** texture) {
  if (!texture) return D3DERR_INVALIDCALL;
  *texture = nullptr;
  if (!device || !fileName) return D3DERR_INVALIDCALL;
  std::vector<std::uint8_t> bytes;
  if (!KvReadWholeFile(fileName, bytes, kLargestFile)) return D3DXERR_INVALIDDATA;
  KvTextureImage image;
  const KvImageStatus status =
      KvDecodeTextureImage(bytes.data(), bytes.size(), width, height, mipLevels, colorKey, image);
  if (status == KvImageStatus::kBadFile) return D3DXERR_INVALIDDATA;
  if (sourceInfo) {
    *sourceInfo = D3DXIMAGE_INFO{image.sourceWidth, image.sourceHeight, 1, 1,
                                 D3DFMT_A8R8G8B8,   D3DRTYPE_TEXTURE,   0};
  }
  if (status == KvImageStatus::kBadTextureSize) return D3DERR_INVALIDCALL;
  if (format == D3DFMT_UNKNOWN) format = D3DFMT_A8R8G8B8;
  const KvImage& top = image.levels.front();
  const UINT levels = UINT(image.levels.size());
  IDirect3DTexture9* created = nullptr;
  HRESULT result =
      device->CreateTexture(top.width, top.height, levels, usage, format, pool, &created, nullptr);
  if (FAILED(result)) return result;
  for (UINT i = 0; i < created->GetLevelCount() && i < levels; ++i) {
    Upload(created, i, image.levels[i]);
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
