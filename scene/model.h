// One drawable mesh from a .x file with a texture per subset, and its placement in the world.
#pragma once

#include "platform/d3d9.h"
#include "platform/d3dx9.h"

class KV_MODEL {
 public:
  explicit KV_MODEL(IDirect3DDevice9* device);
  ~KV_MODEL();
  KV_MODEL(const KV_MODEL&) = delete;
  KV_MODEL& operator=(const KV_MODEL&) = delete;

  void Load(const char* fileName);
  // As Load, with every texture's texels of colorKey made transparent and the alpha test on.
  void LoadWithColorKey(const char* fileName, D3DCOLOR colorKey);
  void Render(DWORD cullMode);
  // Draws with culling off and puts the world transform back to the identity.
  void Render();
  ID3DXMesh* GetMesh();

  void SetPosition(float x, float y, float z);
  void SetPosition(D3DXVECTOR3 newPosition);
  void SetRotation(float x, float y, float z);
  void SetScale(float x, float y, float z);
  D3DXVECTOR3 GetPosition();
  D3DXMATRIX GetWorldMatrix();
  void UpdateWorldMatrix();
  float DegreesToRadians(float degrees);
  D3DXVECTOR3 ProjectToScreen();

  IDirect3DDevice9* device;
  ID3DXMesh* mesh = nullptr;
  DWORD materialCount = 0;
  ID3DXBuffer* materialBuffer = nullptr;
  D3DXMATERIAL* fileMaterials = nullptr;
  IDirect3DTexture9** textures = nullptr;
  D3DXMATRIX world;
  D3DXVECTOR3 position{0, 0, 0};
  D3DXVECTOR3 rotation{0, 0, 0};
  D3DXVECTOR3 scale{1, 1, 1};
  bool colorKeyed = false;

 private:
  // Loads the mesh and one texture per material; false when the mesh could not be read.
  bool LoadMeshAndTextures(const char* fileName, bool keyed, D3DCOLOR colorKey);
  void DrawSubsets();
  void SetAlphaTestStates();
};
