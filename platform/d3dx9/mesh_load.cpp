// Meshes from .x files with their material records, and ray intersection against meshes.
#include <cstring>

#include "platform/d3dx9/mesh.h"

namespace {

// The material records, followed in the same buffer by the texture names they point at.
ID3DXBuffer* MaterialBuffer(const std::vector<KvXMaterial>& materials) {
  DWORD size = DWORD(materials.size() * sizeof(D3DXMATERIAL));
  for (const KvXMaterial& m : materials) {
    if (m.hasTexture) size += DWORD(m.textureName.size() + 1);
  }
  ID3DXBuffer* buffer = nullptr;
  if (FAILED(D3DXCreateBuffer(size, &buffer))) return nullptr;
  auto* records = static_cast<D3DXMATERIAL*>(buffer->GetBufferPointer());
  char* names = reinterpret_cast<char*>(records + materials.size());
  for (std::size_t i = 0; i < materials.size(); ++i) {
    records[i].MatD3D = materials[i].material;
    records[i].pTextureFilename = nullptr;
    if (!materials[i].hasTexture) continue;
    const std::string& name = materials[i].textureName;
    std::memcpy(names, name.c_str(), name.size() + 1);
    records[i].pTextureFilename = names;
    names += name.size() + 1;
  }
  return buffer;
}

template <class T>
void Clear(T** out) {
  if (out) *out = nullptr;
}

}  // namespace

HRESULT D3DXLoadMeshFromXA(LPCSTR fileName, DWORD options, IDirect3DDevice9* device,
                           ID3DXBuffer** adjacency, ID3DXBuffer** materials,
                           ID3DXBuffer** effectInstances, DWORD* materialCount, ID3DXMesh** mesh) {
  Clear(adjacency);
  Clear(materials);
  Clear(effectInstances);
  Clear(mesh);
  if (materialCount) *materialCount = 0;
  if (!fileName || !device || !mesh) return D3DERR_INVALIDCALL;

  KvXMeshData data;
  if (!KvReadXFile(fileName, data)) return D3DXERR_INVALIDDATA;
  KvMesh* created = KvMesh::Create(device, data, options);
  if (!created) return D3DXERR_INVALIDDATA;
  if (materials) {
    *materials = MaterialBuffer(data.materials);
    if (!*materials) {
      created->Release();
      return E_OUTOFMEMORY;
    }
  }
  if (materialCount) *materialCount = DWORD(data.materials.size());
  *mesh = created;
  return D3D_OK;
}

HRESULT D3DXIntersect(ID3DXBaseMesh* mesh, const D3DXVECTOR3* rayPosition,
                      const D3DXVECTOR3* rayDirection, BOOL* hit, DWORD* faceIndex, float* u,
                      float* v, float* distance, ID3DXBuffer** allHits, DWORD* countOfHits) {
  auto* ours = dynamic_cast<KvMesh*>(mesh);
  if (!ours || !rayPosition || !rayDirection) return D3DERR_INVALIDCALL;
  const float origin[3] = {rayPosition->x, rayPosition->y, rayPosition->z};
  const float direction[3] = {rayDirection->x, rayDirection->y, rayDirection->z};
  KvRayHit nearest;
  const bool found = ours->Raycast().Nearest(origin, direction, nearest);
  if (hit) *hit = found ? TRUE : FALSE;
  if (found) {
    if (faceIndex) *faceIndex = nearest.face;
    if (u) *u = nearest.u;
    if (v) *v = nearest.v;
    if (distance) *distance = nearest.distance;
  }
  if (allHits || countOfHits) {
    const std::vector<KvRayHit> hits = ours->Raycast().All(origin, direction);
    if (countOfHits) *countOfHits = DWORD(hits.size());
    if (allHits) {
      *allHits = nullptr;
      if (!hits.empty() &&
          SUCCEEDED(D3DXCreateBuffer(DWORD(hits.size() * sizeof(D3DXINTERSECTINFO)), allHits))) {
        auto* info = static_cast<D3DXINTERSECTINFO*>((*allHits)->GetBufferPointer());
        for (std::size_t i = 0; i < hits.size(); ++i) {
          info[i] = D3DXINTERSECTINFO{hits[i].face, hits[i].u, hits[i].v, hits[i].distance};
        }
      }
    }
  }
  return D3D_OK;
}
