// The rest of ID3DXMesh: the interfaces the mesh answers to, its device buffers, and the
// operations the program never calls, which say so (E_NOTIMPL) rather than doing part of them.
#include "platform/d3dx9/mesh.h"

namespace {

template <class Buffer>
HRESULT GiveBuffer(Buffer* buffer, Buffer** out) {
  if (!out) return D3DERR_INVALIDCALL;
  buffer->AddRef();
  *out = buffer;
  return D3D_OK;
}

}  // namespace

HRESULT KvMesh::QueryInterface(REFIID riid, void** out) {
  return Query(riid, out, {&IID_ID3DXBaseMesh, &IID_ID3DXMesh});
}

HRESULT KvMesh::GetVertexBuffer(IDirect3DVertexBuffer9** buffer) {
  return GiveBuffer(vertices_, buffer);
}

HRESULT KvMesh::GetIndexBuffer(IDirect3DIndexBuffer9** buffer) {
  return GiveBuffer(drawIndices_, buffer);
}

HRESULT KvMesh::GetDeclaration(D3DVERTEXELEMENT9*) {
  return E_NOTIMPL;
}
HRESULT KvMesh::CloneMeshFVF(DWORD, DWORD, IDirect3DDevice9*, ID3DXMesh**) {
  return E_NOTIMPL;
}
HRESULT KvMesh::CloneMesh(DWORD, const D3DVERTEXELEMENT9*, IDirect3DDevice9*, ID3DXMesh**) {
  return E_NOTIMPL;
}
HRESULT KvMesh::ConvertPointRepsToAdjacency(const DWORD*, DWORD*) {
  return E_NOTIMPL;
}
HRESULT KvMesh::ConvertAdjacencyToPointReps(const DWORD*, DWORD*) {
  return E_NOTIMPL;
}
HRESULT KvMesh::GenerateAdjacency(float, DWORD*) {
  return E_NOTIMPL;
}
HRESULT KvMesh::UpdateSemantics(D3DVERTEXELEMENT9*) {
  return E_NOTIMPL;
}
HRESULT KvMesh::LockAttributeBuffer(DWORD, DWORD**) {
  return E_NOTIMPL;
}
HRESULT KvMesh::UnlockAttributeBuffer() {
  return E_NOTIMPL;
}
HRESULT KvMesh::Optimize(DWORD, const DWORD*, DWORD*, DWORD*, ID3DXBuffer**, ID3DXMesh**) {
  return E_NOTIMPL;
}
HRESULT KvMesh::OptimizeInplace(DWORD, const DWORD*, DWORD*, DWORD*, ID3DXBuffer**) {
  return E_NOTIMPL;
}
HRESULT KvMesh::SetAttributeTable(const D3DXATTRIBUTERANGE*, DWORD) {
  return E_NOTIMPL;
}
