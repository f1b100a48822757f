// Inside the platform layer: the mesh object behind ID3DXMesh, over the public Direct3D 9
// interface only (vertex and index buffers created, locked, filled and drawn), so that the same
// object runs over our device and over the system's.
//
// What it implements of ID3DXMesh: QueryInterface (IUnknown, ID3DXBaseMesh, ID3DXMesh), AddRef,
// Release, DrawSubset, GetNumFaces, GetNumVertices, GetFVF, GetNumBytesPerVertex, GetOptions,
// GetDevice, GetVertexBuffer, GetIndexBuffer, LockVertexBuffer, UnlockVertexBuffer,
// LockIndexBuffer and UnlockIndexBuffer (the faces in the file's order, read-only),
// GetAttributeTable. The index buffer is 16-bit when the mesh has at most 65,535 vertices and
// D3DXMESH_32BIT was not asked for, so that DrawSubset works on any Direct3D 9 device.
// What it does not (E_NOTIMPL; the program never calls them): GetDeclaration, CloneMeshFVF,
// CloneMesh, ConvertPointRepsToAdjacency, ConvertAdjacencyToPointReps, GenerateAdjacency,
// UpdateSemantics, LockAttributeBuffer, UnlockAttributeBuffer, Optimize, OptimizeInplace,
// SetAttributeTable.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "platform/d3dx9/com_object.h"
#include "platform/d3dx9/mesh_raycast.h"
#include "platform/xfile/reader.h"

class KvMesh final : public KvComObject<ID3DXMesh> {
 public:
  // Null when the data cannot be put into device buffers.
  static KvMesh* Create(IDirect3DDevice9* device, const KvXMeshData& data, DWORD options);
  ~KvMesh() override;

  HRESULT QueryInterface(REFIID riid, void** out) override;
  HRESULT DrawSubset(DWORD attributeId) override;
  DWORD GetNumFaces() override { return static_cast<DWORD>(attributes_.size()); }
  DWORD GetNumVertices() override { return vertexCount_; }
  DWORD GetFVF() override { return fvf_; }
  HRESULT GetDeclaration(D3DVERTEXELEMENT9* declaration) override;
  DWORD GetNumBytesPerVertex() override { return stride_; }
  DWORD GetOptions() override { return options_; }
  HRESULT GetDevice(IDirect3DDevice9** device) override;
  HRESULT CloneMeshFVF(DWORD options, DWORD fvf, IDirect3DDevice9* device,
                       ID3DXMesh** clone) override;
  HRESULT CloneMesh(DWORD options, const D3DVERTEXELEMENT9* declaration, IDirect3DDevice9* device,
                    ID3DXMesh** clone) override;
  HRESULT GetVertexBuffer(IDirect3DVertexBuffer9** buffer) override;
  HRESULT GetIndexBuffer(IDirect3DIndexBuffer9** buffer) override;
  HRESULT LockVertexBuffer(DWORD flags, void** data) override;
  HRESULT UnlockVertexBuffer() override;
  HRESULT LockIndexBuffer(DWORD flags, void** data) override;
  HRESULT UnlockIndexBuffer() override;
  HRESULT GetAttributeTable(D3DXATTRIBUTERANGE* table, DWORD* size) override;
  HRESULT ConvertPointRepsToAdjacency(const DWORD* pointReps, DWORD* adjacency) override;
  HRESULT ConvertAdjacencyToPointReps(const DWORD* adjacency, DWORD* pointReps) override;
  HRESULT GenerateAdjacency(float epsilon, DWORD* adjacency) override;
  HRESULT UpdateSemantics(D3DVERTEXELEMENT9* declaration) override;
  HRESULT LockAttributeBuffer(DWORD flags, DWORD** data) override;
  HRESULT UnlockAttributeBuffer() override;
  HRESULT Optimize(DWORD flags, const DWORD* adjacencyIn, DWORD* adjacencyOut, DWORD* faceRemap,
                   ID3DXBuffer** vertexRemap, ID3DXMesh** optimized) override;
  HRESULT OptimizeInplace(DWORD flags, const DWORD* adjacencyIn, DWORD* adjacencyOut,
                          DWORD* faceRemap, ID3DXBuffer** vertexRemap) override;
  HRESULT SetAttributeTable(const D3DXATTRIBUTERANGE* table, DWORD size) override;

  // The ray queries, built on first use; the mesh does not change after loading.
  const KvMeshRaycast& Raycast();

 private:
  explicit KvMesh(IDirect3DDevice9* device);
  bool Fill(const KvXMeshData& data, DWORD options);
  bool FillVertices(const KvXMeshData& data);
  template <typename Index>
  bool FillIndices(D3DFORMAT format, const std::vector<Index>& fileOrder);
  void BuildAttributeTable();
  bool Wide() const { return (options_ & D3DXMESH_32BIT) != 0; }

  IDirect3DDevice9* device_;
  DWORD fvf_ = 0;
  DWORD stride_ = 0;
  DWORD vertexCount_ = 0;
  DWORD options_ = 0;
  IDirect3DVertexBuffer9* vertices_ = nullptr;
  IDirect3DIndexBuffer9* drawIndices_ = nullptr;  // faces grouped by attribute
  std::vector<float> positions_;
  std::vector<std::uint32_t> indices_;        // in file order
  std::vector<std::uint16_t> narrowIndices_;  // the same, for a 16-bit mesh's LockIndexBuffer
  std::vector<DWORD> attributes_;
  std::vector<D3DXATTRIBUTERANGE> table_;
  std::unique_ptr<KvMeshRaycast> raycast_;
};
