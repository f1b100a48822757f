// Inside the platform layer: the mesh object behind ID3DXMesh.
#pragma once

#include <memory>
#include <vector>

#include "platform/d3dx9.h"
#include "platform/d3dx9/mesh_raycast.h"
#include "platform/ref_counted.h"
#include "platform/xfile/reader.h"

class KvMesh final : public KvRefCounted<ID3DXMesh> {
 public:
  // Null when the data cannot be put into device buffers.
  static KvMesh* Create(IDirect3DDevice9* device, const KvXMeshData& data);
  ~KvMesh() override;

  HRESULT DrawSubset(DWORD attributeId) override;
  DWORD GetNumFaces() override { return static_cast<DWORD>(attributes_.size()); }
  DWORD GetFVF() override { return fvf_; }
  DWORD GetNumBytesPerVertex() override { return stride_; }
  HRESULT GetDevice(IDirect3DDevice9** device) override;
  HRESULT LockVertexBuffer(DWORD flags, void** data) override;
  HRESULT UnlockVertexBuffer() override;
  HRESULT LockIndexBuffer(DWORD flags, void** data) override;
  HRESULT UnlockIndexBuffer() override;
  HRESULT GetAttributeTable(D3DXATTRIBUTERANGE* table, DWORD* size) override;

  // The ray queries, built on first use; the mesh does not change after loading.
  const KvMeshRaycast& Raycast();

 private:
  explicit KvMesh(IDirect3DDevice9* device);
  bool Fill(const KvXMeshData& data);
  void BuildAttributeTable();

  IDirect3DDevice9* device_;
  DWORD fvf_ = 0;
  DWORD stride_ = 0;
  DWORD vertexCount_ = 0;
  IDirect3DVertexBuffer9* vertices_ = nullptr;
  IDirect3DIndexBuffer9* drawIndices_ = nullptr;  // faces grouped by attribute
  std::vector<float> positions_;
  std::vector<std::uint32_t> indices_;  // in file order
  std::vector<DWORD> attributes_;
  std::vector<D3DXATTRIBUTERANGE> table_;
  std::unique_ptr<KvMeshRaycast> raycast_;
};
