// Textures from image files: PNG, JPEG, BMP and TGA through stb_image, the colour key, the
// size rounded up to powers of two, and the full chain of levels.
#include <stb_image.h>

#include <algorithm>
#include <cstring>

#include "platform/d3d9_device.h"
#include "platform/file_io.h"

namespace {

constexpr std::size_t kLargestFile = 64u << 20;
constexpr int kLargestSide = 8192;

struct Image {
  UINT width = 0;
  UINT height = 0;
  std::vector<DWORD> texels;  // ARGB, rows top to bottom
};

bool Decode(const char* fileName, Image& image) {
  std::vector<std::uint8_t> bytes;
  if (!KvReadWholeFile(fileName, bytes, kLargestFile) || bytes.empty()) return false;
  int width = 0;
  int height = 0;
  int channels = 0;
  if (!stbi_info_from_memory(bytes.data(), int(bytes.size()), &width, &height, &channels) ||
      width <= 0 || height <= 0 || width > kLargestSide || height > kLargestSide) {
    return false;
  }
  stbi_uc* rgba =
      stbi_load_from_memory(bytes.data(), int(bytes.size()), &width, &height, &channels, 4);
  if (!rgba) return false;
  image.width = UINT(width);
  image.height = UINT(height);
  image.texels.resize(size_t(width) * size_t(height));
  for (size_t i = 0; i < image.texels.size(); ++i) {
    const stbi_uc* p = rgba + i * 4;
    image.texels[i] = D3DCOLOR_ARGB(p[3], p[0], p[1], p[2]);  // no alpha reads as opaque
  }
  stbi_image_free(rgba);
  return true;
}

void ApplyColorKey(Image& image, D3DCOLOR key) {
  if (key == 0) return;  // a key of 0 means no key
  for (DWORD& texel : image.texels) {
    if (texel == key) texel = 0;
  }
}

UINT RoundUpToPowerOfTwo(UINT value) {
  UINT result = 1;
  while (result < value) result <<= 1;
  return result;
}

DWORD Average(const DWORD* samples, int count) {
  DWORD result = 0;
  for (int shift = 0; shift < 32; shift += 8) {
    DWORD sum = 0;
    for (int i = 0; i < count; ++i) sum += (samples[i] >> shift) & 0xFF;
    result |= ((sum + DWORD(count) / 2) / DWORD(count)) << shift;
  }
  return result;
}

// Nearest-area resampling: each target texel averages the source texels it covers.
Image Resize(const Image& source, UINT width, UINT height) {
  if (source.width == width && source.height == height) return source;
  Image target{width, height, std::vector<DWORD>(size_t(width) * height)};
  for (UINT y = 0; y < height; ++y) {
    const UINT y0 = y * source.height / height;
    const UINT y1 = std::max(y0 + 1, (y + 1) * source.height / height);
    for (UINT x = 0; x < width; ++x) {
      const UINT x0 = x * source.width / width;
      const UINT x1 = std::max(x0 + 1, (x + 1) * source.width / width);
      DWORD samples[4];
      int count = 0;
      for (UINT sy = y0; sy < y1 && count < 4; sy += std::max(1u, (y1 - y0) / 2)) {
        for (UINT sx = x0; sx < x1 && count < 4; sx += std::max(1u, (x1 - x0) / 2)) {
          samples[count++] = source.texels[size_t(sy) * source.width + sx];
        }
      }
      target.texels[size_t(y) * width + x] = Average(samples, count);
    }
  }
  return target;
}

void Upload(IDirect3DTexture9* texture, UINT level, const Image& image) {
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
  Image image;
  if (!Decode(fileName, image)) return D3DXERR_INVALIDDATA;
  if (sourceInfo) {
    *sourceInfo =
        D3DXIMAGE_INFO{image.width, image.height, 1, 1, D3DFMT_A8R8G8B8, D3DRTYPE_TEXTURE, 0};
  }
  ApplyColorKey(image, colorKey);
  const UINT w = (width == 0 || width == D3DX_DEFAULT) ? RoundUpToPowerOfTwo(image.width) : width;
  const UINT h =
      (height == 0 || height == D3DX_DEFAULT) ? RoundUpToPowerOfTwo(image.height) : height;
  if (format == D3DFMT_UNKNOWN) format = D3DFMT_A8R8G8B8;
  const UINT levels = (mipLevels == D3DX_DEFAULT) ? 0 : mipLevels;
  IDirect3DTexture9* created = nullptr;
  HRESULT result = device->CreateTexture(w, h, levels, usage, format, pool, &created, nullptr);
  if (FAILED(result)) return result;
  Image level = Resize(image, w, h);
  for (UINT i = 0; i < created->GetLevelCount(); ++i) {
    if (i > 0) level = Resize(level, std::max(1u, level.width / 2), std::max(1u, level.height / 2));
    Upload(created, i, level);
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
