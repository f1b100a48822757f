#include "scene/model.h"

KV_MODEL::KV_MODEL(IDirect3DDevice9* device_) : device(device_) {
  D3DXMatrixIdentity(&world);
}

KV_MODEL::~KV_MODEL() {
  if (textures) {
    for (DWORD i = 0; i < materialCount; ++i) {
      if (textures[i]) textures[i]->Release();
    }
    delete[] textures;
  }
  if (mesh) mesh->Release();
}

void KV_MODEL::Load(const char* fileName) {
  LoadMeshAndTextures(fileName, false, 0);
}

void KV_MODEL::LoadWithColorKey(const char* fileName, D3DCOLOR colorKey) {
  if (LoadMeshAndTextures(fileName, true, colorKey)) colorKeyed = true;
}

bool KV_MODEL::LoadMeshAndTextures(const char* fileName, bool keyed, D3DCOLOR colorKey) {
  if (FAILED(D3DXLoadMeshFromXA(fileName, D3DXMESH_SYSTEMMEM, device, nullptr, &materialBuffer,
                                nullptr, &materialCount, &mesh))) {
    return false;
  }
  fileMaterials =
      materialBuffer ? static_cast<D3DXMATERIAL*>(materialBuffer->GetBufferPointer()) : nullptr;
  if (materialBuffer && fileMaterials) {
    textures = new IDirect3DTexture9*[materialCount];
    for (DWORD i = 0; i < materialCount; ++i) {
      textures[i] = nullptr;
      const char* name = fileMaterials[i].pTextureFilename;
      if (!name) continue;
      HRESULT result = keyed ? D3DXCreateTextureFromFileExA(
                                   device, name, D3DX_DEFAULT, D3DX_DEFAULT, D3DX_DEFAULT, 0,
                                   D3DFMT_A8R8G8B8, D3DPOOL_MANAGED, D3DX_FILTER_TRIANGLE,
                                   D3DX_FILTER_TRIANGLE, colorKey, nullptr, nullptr, &textures[i])
                             : D3DXCreateTextureFromFileA(device, name, &textures[i]);
      if (FAILED(result)) textures[i] = nullptr;
    }
    materialBuffer->Release();
  } else {
    if (materialBuffer) materialBuffer->Release();
    materialCount = 1;
    textures = new IDirect3DTexture9* [1] { nullptr };
  }
  materialBuffer = nullptr;
  fileMaterials = nullptr;
  return true;
}

void KV_MODEL::SetAlphaTestStates() {
  device->SetRenderState(D3DRS_ALPHATESTENABLE, TRUE);
  device->SetRenderState(D3DRS_ALPHAREF, 0x20);
  device->SetRenderState(D3DRS_ALPHAFUNC, D3DCMP_GREATEREQUAL);
}

void KV_MODEL::DrawSubsets() {
  if (!mesh) return;
  for (DWORD i = 0; i < materialCount; ++i) {
    device->SetTexture(0, textures ? textures[i] : nullptr);
    mesh->DrawSubset(i);
  }
}

void KV_MODEL::Render(DWORD cullMode) {
  if (colorKeyed) SetAlphaTestStates();
  device->SetRenderState(D3DRS_CULLMODE, cullMode);
  device->SetTransform(D3DTS_WORLD, &world);
  DrawSubsets();
  device->SetRenderState(D3DRS_CULLMODE, D3DCULL_NONE);
}

void KV_MODEL::Render() {
  D3DXMATRIX reset;
  D3DXMatrixIdentity(&reset);
  if (colorKeyed) SetAlphaTestStates();
  device->SetRenderState(D3DRS_CULLMODE, D3DCULL_NONE);
  device->SetTransform(D3DTS_WORLD, &world);
  DrawSubsets();
  device->SetTransform(D3DTS_WORLD, &reset);
}

ID3DXMesh* KV_MODEL::GetMesh() {
  return mesh;
}
