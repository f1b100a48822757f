// The mesh: interleaved vertices and grouped faces in device buffers, drawn by subset.
#include "platform/d3dx9/mesh.h"

#include <algorithm>
#include <cstring>

namespace {

DWORD FormatOf(const KvXMeshData& data) {
  DWORD fvf = D3DFVF_XYZ;
  if (!data.normals.empty()) fvf |= D3DFVF_NORMAL;
  if (!data.colors.empty()) fvf |= D3DFVF_DIFFUSE;
  if (!data.texcoords.empty()) fvf |= D3DFVF_TEX1;
  return fvf;
}

// Writes vertex i of the data in the order the vertex format lays it out.
BYTE* WriteVertex(BYTE* out, const KvXMeshData& data, std::size_t i) {
  std::memcpy(out, &data.positions[i * 3], 12);
  out += 12;
  if (!data.normals.empty()) {
    std::memcpy(out, &data.normals[i * 3], 12);
    out += 12;
  }
  if (!data.colors.empty()) {
    std::memcpy(out, &data.colors[i], 4);
    out += 4;
  }
  if (!data.texcoords.empty()) {
    std::memcpy(out, &data.texcoords[i * 2], 8);
    out += 8;
  }
  return out;
}

}  // namespace

KvMesh::KvMesh(IDirect3DDevice9* device) : device_(device) {
  device_->AddRef();
}

KvMesh::~KvMesh() {
  if (vertices_) vertices_->Release();
  if (drawIndices_) drawIndices_->Release();
  device_->Release();
}

KvMesh* KvMesh::Create(IDirect3DDevice9* device, const KvXMeshData& data, DWORD options) {
  auto* mesh = new KvMesh(device);
  if (!mesh->Fill(data, options)) {
    mesh->Release();
    return nullptr;
  }
  return mesh;
}

// The options kept are those the mesh has: the pool flags the caller gave and the index width
// it was given.
bool KvMesh::Fill(const KvXMeshData& data, DWORD options) {
  fvf_ = FormatOf(data);
  stride_ = D3DXGetFVFVertexSize(fvf_);
  vertexCount_ = static_cast<DWORD>(data.VertexCount());
  options_ = options & (D3DXMESH_SYSTEMMEM | D3DXMESH_MANAGED | D3DXMESH_32BIT);
  if (vertexCount_ > 0xFFFF) options_ |= D3DXMESH_32BIT;
  positions_ = data.positions;
  indices_ = data.indices;
  attributes_.assign(data.attributes.begin(), data.attributes.end());
  if (vertexCount_ == 0 || attributes_.empty()) return false;
  BuildAttributeTable();
  if (!FillVertices(data)) return false;
  if (Wide()) return FillIndices(D3DFMT_INDEX32, indices_);
  narrowIndices_.assign(indices_.begin(), indices_.end());
  return FillIndices(D3DFMT_INDEX16, narrowIndices_);
}

bool KvMesh::FillVertices(const KvXMeshData& data) {
  void* memory = nullptr;
  if (FAILED(device_->CreateVertexBuffer(vertexCount_ * stride_, 0, fvf_, D3DPOOL_MANAGED,
                                         &vertices_, nullptr)) ||
      FAILED(vertices_->Lock(0, 0, &memory, 0))) {
    return false;
  }
  auto* out = static_cast<BYTE*>(memory);
  for (std::size_t i = 0; i < vertexCount_; ++i) out = WriteVertex(out, data, i);
  vertices_->Unlock();
  return true;
}

// The draw buffer holds the file's faces grouped by attribute, in the table's order.
template <typename Index>
bool KvMesh::FillIndices(D3DFORMAT format, const std::vector<Index>& fileOrder) {
  void* memory = nullptr;
  const UINT indexBytes = static_cast<UINT>(fileOrder.size() * sizeof(Index));
  if (FAILED(device_->CreateIndexBuffer(indexBytes, 0, format, D3DPOOL_MANAGED, &drawIndices_,
                                        nullptr)) ||
      FAILED(drawIndices_->Lock(0, indexBytes, &memory, 0))) {
    return false;
  }
  auto* grouped = static_cast<Index*>(memory);
  for (const D3DXATTRIBUTERANGE& range : table_) {
    for (DWORD face = 0; face < attributes_.size(); ++face) {
      if (attributes_[face] != range.AttribId) continue;
      std::memcpy(grouped, &fileOrder[face * 3], 3 * sizeof(Index));
      grouped += 3;
    }
  }
  drawIndices_->Unlock();
  return true;
}

// One range per attribute in increasing order; faces are grouped in that order for drawing.
void KvMesh::BuildAttributeTable() {
  std::vector<DWORD> ids(attributes_);
  std::sort(ids.begin(), ids.end());
  ids.erase(std::unique(ids.begin(), ids.end()), ids.end());
  DWORD start = 0;
  for (DWORD id : ids) {
    const auto count = static_cast<DWORD>(std::count(attributes_.begin(), attributes_.end(), id));
    table_.push_back(D3DXATTRIBUTERANGE{id, start, count, 0, vertexCount_});
    start += count;
  }
}

HRESULT KvMesh::DrawSubset(DWORD attributeId) {
  for (const D3DXATTRIBUTERANGE& range : table_) {
    if (range.AttribId != attributeId) continue;
    device_->SetStreamSource(0, vertices_, 0, stride_);
    device_->SetFVF(fvf_);
    device_->SetIndices(drawIndices_);
    return device_->DrawIndexedPrimitive(D3DPT_TRIANGLELIST, 0, 0, vertexCount_,
                                         range.FaceStart * 3, range.FaceCount);
  }
  return D3D_OK;  // a subset without faces draws nothing
}

HRESULT KvMesh::GetDevice(IDirect3DDevice9** device) {
  if (!device) return D3DERR_INVALIDCALL;
  device_->AddRef();
  *device = device_;
  return D3D_OK;
}

HRESULT KvMesh::LockVertexBuffer(DWORD flags, void** data) {
  return vertices_->Lock(0, 0, data, flags);
}

HRESULT KvMesh::UnlockVertexBuffer() {
  return vertices_->Unlock();
}

HRESULT KvMesh::LockIndexBuffer(DWORD, void** data) {
  if (!data) return D3DERR_INVALIDCALL;
  *data = Wide() ? static_cast<void*>(indices_.data()) : narrowIndices_.data();
  return D3D_OK;
}

HRESULT KvMesh::UnlockIndexBuffer() {
  return D3D_OK;
}

HRESULT KvMesh::GetAttributeTable(D3DXATTRIBUTERANGE* table, DWORD* size) {
  if (!size) return D3DERR_INVALIDCALL;
  if (table) std::copy_n(table_.begin(), std::min<std::size_t>(*size, table_.size()), table);
  *size = static_cast<DWORD>(table_.size());
  return D3D_OK;
}

const KvMeshRaycast& KvMesh::Raycast() {
  if (!raycast_) {
    raycast_ = std::make_unique<KvMeshRaycast>(positions_.data(), positions_.size() / 3,
                                               indices_.data(), indices_.size() / 3);
  }
  return *raycast_;
}
