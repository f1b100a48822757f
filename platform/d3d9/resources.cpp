// Vertex buffers, index buffers and textures: memory copies mirrored into OpenGL objects.
#include "platform/d3d9/resources.h"

#include <algorithm>
#include <cstring>

#include "platform/d3d9/device.h"
#include "platform/d3d9/gl_flavour.h"

// ---- Buffers ----------------------------------------------------------------------------

namespace {

// Binds a buffer to the target of its kind and returns the target. An index buffer is only
// ever bound as one: WebGL refuses a buffer that served both kinds.
GLenum BindFor(IDirect3DVertexBuffer9*, KvGlCache& cache, GLuint name) {
  cache.BindArrayBuffer(name);
  return GL_ARRAY_BUFFER;
}

GLenum BindFor(IDirect3DIndexBuffer9*, KvGlCache& cache, GLuint name) {
  cache.BindElementBuffer(name);
  return GL_ELEMENT_ARRAY_BUFFER;
}

}  // namespace

template <class Interface>
KvBuffer<Interface>::KvBuffer(KvDevice* device, UINT length, DWORD format)
    : device_(device), memory_(length, 0), format_(format) {
  device_->AddRef();
  MakeGlObject(device_->MakeCurrent());
  device_->Adopt(this);
}

template <class Interface>
KvBuffer<Interface>::~KvBuffer() {
  device_->Forget(static_cast<Interface*>(this));
  device_->Disown(this);
  DeleteGlObject(device_->MakeCurrent());
  device_->Release();
}

template <class Interface>
void KvBuffer<Interface>::MakeGlObject(KvGlCache& cache) {
  glGenBuffers(1, &name_);
  const GLenum target = BindFor(this, cache, name_);
  glBufferData(target, static_cast<GLsizeiptr>(memory_.size()), memory_.data(), GL_STATIC_DRAW);
}

template <class Interface>
void KvBuffer<Interface>::DeleteGlObject(KvGlCache& cache) {
  cache.DeleteBuffer(name_);
}

template <class Interface>
HRESULT KvBuffer<Interface>::GetDevice(IDirect3DDevice9** device) {
  if (!device) return D3DERR_INVALIDCALL;
  device_->AddRef();
  *device = device_;
  return D3D_OK;
}

template <class Interface>
HRESULT KvBuffer<Interface>::Lock(UINT offset, UINT size, void** data, DWORD) {
  if (!data) return D3DERR_INVALIDCALL;
  *data = nullptr;
  if (offset > memory_.size() || size > memory_.size() - offset) return D3DERR_INVALIDCALL;
  device_->FlushDraws();  // draws made so far read the contents as they are now
  locked_ = true;
  *data = memory_.data() + offset;
  return D3D_OK;
}

template <class Interface>
HRESULT KvBuffer<Interface>::Unlock() {
  if (!locked_) return D3DERR_INVALIDCALL;
  locked_ = false;
  const GLenum target = BindFor(this, device_->MakeCurrent(), name_);
  glBufferSubData(target, 0, static_cast<GLsizeiptr>(memory_.size()), memory_.data());
  return D3D_OK;
}

template class KvBuffer<IDirect3DVertexBuffer9>;
template class KvBuffer<IDirect3DIndexBuffer9>;

// ---- Textures ---------------------------------------------------------------------------

UINT KvFullMipCount(UINT width, UINT height) {
  UINT count = 1;
  while (width > 1 || height > 1) {
    width = std::max(1u, width / 2);
    height = std::max(1u, height / 2);
    ++count;
  }
  return count;
}

KvTexture::KvTexture(KvDevice* device, UINT width, UINT height, UINT levels, D3DPOOL pool)
    : device_(device), pool_(pool) {
  device_->AddRef();
  for (UINT i = 0; i < levels; ++i) {
    levels_.push_back(Level{width, height, std::vector<DWORD>(size_t{width} * height, 0)});
    width = std::max(1u, width / 2);
    height = std::max(1u, height / 2);
  }
  MakeGlObject(device_->MakeCurrent());
  device_->Adopt(this);
}

KvTexture::~KvTexture() {
  device_->Forget(static_cast<IDirect3DBaseTexture9*>(this));
  device_->Disown(this);
  DeleteGlObject(device_->MakeCurrent());
  device_->Release();
}

void KvTexture::MakeGlObject(KvGlCache& cache) {
  glGenTextures(1, &name_);
  cache.BindTexture(name_);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_BASE_LEVEL, 0);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAX_LEVEL, static_cast<GLint>(levels_.size() - 1));
  for (std::size_t i = 0; i < levels_.size(); ++i) {
    KvGlTexImage(static_cast<GLint>(i), static_cast<GLsizei>(levels_[i].width),
                 static_cast<GLsizei>(levels_[i].height), levels_[i].texels.data());
  }
}

void KvTexture::DeleteGlObject(KvGlCache& cache) {
  cache.DeleteTexture(name_);
}

HRESULT KvTexture::GetDevice(IDirect3DDevice9** device) {
  if (!device) return D3DERR_INVALIDCALL;
  device_->AddRef();
  *device = device_;
  return D3D_OK;
}

HRESULT KvTexture::GetLevelDesc(UINT level, D3DSURFACE_DESC* desc) {
  if (!desc || level >= levels_.size()) return D3DERR_INVALIDCALL;
  *desc =
      D3DSURFACE_DESC{D3DFMT_A8R8G8B8,      D3DRTYPE_SURFACE,     0, pool_, D3DMULTISAMPLE_NONE, 0,
                      levels_[level].width, levels_[level].height};
  return D3D_OK;
}

HRESULT KvTexture::LockRect(UINT level, D3DLOCKED_RECT* locked, const RECT* rect, DWORD) {
  if (!locked || level >= levels_.size() || lockedLevel_ >= 0) return D3DERR_INVALIDCALL;
  device_->FlushDraws();  // draws made so far read the texels as they are now
  Level& chosen = levels_[level];
  size_t first = 0;
  if (rect) {
    const bool inside = rect->left >= 0 && rect->top >= 0 && rect->left < rect->right &&
                        rect->top < rect->bottom &&
                        static_cast<UINT>(rect->right) <= chosen.width &&
                        static_cast<UINT>(rect->bottom) <= chosen.height;
    if (!inside) return D3DERR_INVALIDCALL;
    first = size_t(rect->top) * chosen.width + size_t(rect->left);
  }
  locked->Pitch = static_cast<INT>(chosen.width * sizeof(DWORD));
  locked->pBits = chosen.texels.data() + first;
  lockedLevel_ = static_cast<int>(level);
  return D3D_OK;
}

HRESULT KvTexture::UnlockRect(UINT level) {
  if (static_cast<int>(level) != lockedLevel_) return D3DERR_INVALIDCALL;
  lockedLevel_ = -1;
  const Level& chosen = levels_[level];
  device_->MakeCurrent().BindTexture(name_);
  KvGlTexSubImage(static_cast<GLint>(level), static_cast<GLsizei>(chosen.width),
                  static_cast<GLsizei>(chosen.height), chosen.texels.data());
  return D3D_OK;
}
