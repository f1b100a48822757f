// Inside the platform layer: the vertex buffers, index buffers and textures a device creates.
#pragma once

#include "platform/d3d9/gl_cache.h"

#include <vector>

#include "platform/d3d9.h"
#include "platform/ref_counted.h"

class KvDevice;

// What a resource keeps besides its copy in memory: the OpenGL object that mirrors it, which
// a lost context takes away. The device holds every resource it made, so that it can make
// their objects again from the copies when the context comes back.
class KvDeviceResource {
 public:
  virtual void MakeGlObject(KvGlCache& cache) = 0;
  virtual void DeleteGlObject(KvGlCache& cache) = 0;

 protected:
  ~KvDeviceResource() = default;
};

// A buffer of vertices or indices: a copy in memory that Lock hands out, mirrored into an
// OpenGL buffer by Unlock. It holds its device until it is released.
template <class Interface>
class KvBuffer final : public KvRefCounted<Interface>, public KvDeviceResource {
 public:
  KvBuffer(KvDevice* device, UINT length, DWORD format);
  ~KvBuffer() override;
  void MakeGlObject(KvGlCache& cache) override;
  void DeleteGlObject(KvGlCache& cache) override;
  HRESULT GetDevice(IDirect3DDevice9** device) override;
  HRESULT Lock(UINT offset, UINT size, void** data, DWORD flags) override;
  HRESULT Unlock() override;

  GLuint Name() const { return name_; }
  UINT Length() const { return static_cast<UINT>(memory_.size()); }
  const BYTE* Data() const { return memory_.data(); }
  DWORD Format() const { return format_; }  // FVF of a vertex buffer, index format otherwise

 private:
  KvDevice* device_;
  std::vector<BYTE> memory_;
  DWORD format_;
  GLuint name_ = 0;
  bool locked_ = false;
};
using KvVertexBuffer = KvBuffer<IDirect3DVertexBuffer9>;
using KvIndexBuffer = KvBuffer<IDirect3DIndexBuffer9>;

// A 2D texture in A8R8G8B8 with its full chain of levels, kept in memory as well (managed,
// whatever pool was asked for).
class KvTexture final : public KvRefCounted<IDirect3DTexture9>, public KvDeviceResource {
 public:
  KvTexture(KvDevice* device, UINT width, UINT height, UINT levels, D3DPOOL pool);
  ~KvTexture() override;
  // Every level, from the copies in memory.
  void MakeGlObject(KvGlCache& cache) override;
  void DeleteGlObject(KvGlCache& cache) override;
  HRESULT GetDevice(IDirect3DDevice9** device) override;
  DWORD GetLevelCount() override { return static_cast<DWORD>(levels_.size()); }
  HRESULT GetLevelDesc(UINT level, D3DSURFACE_DESC* desc) override;
  HRESULT LockRect(UINT level, D3DLOCKED_RECT* locked, const RECT* rect, DWORD flags) override;
  HRESULT UnlockRect(UINT level) override;

  GLuint Name() const { return name_; }

 private:
  struct Level {
    UINT width;
    UINT height;
    std::vector<DWORD> texels;
  };
  KvDevice* device_;
  D3DPOOL pool_;
  std::vector<Level> levels_;
  GLuint name_ = 0;
  int lockedLevel_ = -1;
};

// Full mip chain length of a width × height image.
UINT KvFullMipCount(UINT width, UINT height);
