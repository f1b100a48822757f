// The D3DX utility operations the program uses: vector and matrix math, meshes read from
// .x files, ray intersection and texture loading, with the platform's own names, values
// and signatures. The Windows program takes these declarations from the system's own header
// and links the same implementation (platform/d3dx9/), built over the system's Direct3D 9.
#pragma once

#include "platform/d3d9.h"
// GUID and REFIID, for QueryInterface, are declared with DirectInput's interface identifiers.
#include "platform/dinput8.h"

// ---- Math -----------------------------------------------------------------------------

struct D3DXVECTOR3 : public D3DVECTOR {
  D3DXVECTOR3() = default;
  D3DXVECTOR3(float x_, float y_, float z_) : D3DVECTOR{x_, y_, z_} {}
  D3DXVECTOR3(const D3DVECTOR& v) : D3DVECTOR(v) {}

  D3DXVECTOR3& operator+=(const D3DXVECTOR3& v);
  D3DXVECTOR3& operator-=(const D3DXVECTOR3& v);
  D3DXVECTOR3& operator*=(float s);
  D3DXVECTOR3& operator/=(float s);
  D3DXVECTOR3 operator+() const;
  D3DXVECTOR3 operator-() const;
  D3DXVECTOR3 operator+(const D3DXVECTOR3& v) const;
  D3DXVECTOR3 operator-(const D3DXVECTOR3& v) const;
  D3DXVECTOR3 operator*(float s) const;
  D3DXVECTOR3 operator/(float s) const;
  bool operator==(const D3DXVECTOR3& v) const;
  bool operator!=(const D3DXVECTOR3& v) const;
};
D3DXVECTOR3 operator*(float s, const D3DXVECTOR3& v);

struct D3DXVECTOR4 {
  float x, y, z, w;
  D3DXVECTOR4() = default;
  D3DXVECTOR4(float x_, float y_, float z_, float w_) : x(x_), y(y_), z(z_), w(w_) {}
};

struct D3DXMATRIX : public D3DMATRIX {
  D3DXMATRIX() = default;
  D3DXMATRIX(const D3DMATRIX& m) : D3DMATRIX(m) {}
  D3DXMATRIX(float f11, float f12, float f13, float f14, float f21, float f22, float f23, float f24,
             float f31, float f32, float f33, float f34, float f41, float f42, float f43,
             float f44);

  float& operator()(UINT row, UINT column) { return m[row][column]; }
  float operator()(UINT row, UINT column) const { return m[row][column]; }
  D3DXMATRIX& operator*=(const D3DXMATRIX& other);
  D3DXMATRIX operator*(const D3DXMATRIX& other) const;
  bool operator==(const D3DXMATRIX& other) const;
  bool operator!=(const D3DXMATRIX& other) const;
};

float D3DXVec3Length(const D3DXVECTOR3* v);
float D3DXVec3LengthSq(const D3DXVECTOR3* v);
float D3DXVec3Dot(const D3DXVECTOR3* a, const D3DXVECTOR3* b);
D3DXVECTOR3* D3DXVec3Cross(D3DXVECTOR3* out, const D3DXVECTOR3* a, const D3DXVECTOR3* b);
D3DXVECTOR3* D3DXVec3Normalize(D3DXVECTOR3* out, const D3DXVECTOR3* v);
D3DXVECTOR3* D3DXVec3TransformCoord(D3DXVECTOR3* out, const D3DXVECTOR3* v, const D3DXMATRIX* m);
D3DXVECTOR3* D3DXVec3TransformNormal(D3DXVECTOR3* out, const D3DXVECTOR3* v, const D3DXMATRIX* m);
D3DXVECTOR4* D3DXVec3Transform(D3DXVECTOR4* out, const D3DXVECTOR3* v, const D3DXMATRIX* m);
D3DXVECTOR3* D3DXVec3Project(D3DXVECTOR3* out, const D3DXVECTOR3* v, const D3DVIEWPORT9* viewport,
                             const D3DXMATRIX* projection, const D3DXMATRIX* view,
                             const D3DXMATRIX* world);

D3DXMATRIX* D3DXMatrixIdentity(D3DXMATRIX* out);
D3DXMATRIX* D3DXMatrixTranslation(D3DXMATRIX* out, float x, float y, float z);
D3DXMATRIX* D3DXMatrixRotationX(D3DXMATRIX* out, float angle);
D3DXMATRIX* D3DXMatrixRotationY(D3DXMATRIX* out, float angle);
D3DXMATRIX* D3DXMatrixRotationZ(D3DXMATRIX* out, float angle);
D3DXMATRIX* D3DXMatrixScaling(D3DXMATRIX* out, float x, float y, float z);
D3DXMATRIX* D3DXMatrixMultiply(D3DXMATRIX* out, const D3DXMATRIX* a, const D3DXMATRIX* b);
D3DXMATRIX* D3DXMatrixTranspose(D3DXMATRIX* out, const D3DXMATRIX* m);
// Null (and out untouched) when the matrix cannot be inverted.
D3DXMATRIX* D3DXMatrixInverse(D3DXMATRIX* out, float* determinant, const D3DXMATRIX* m);
D3DXMATRIX* D3DXMatrixLookAtLH(D3DXMATRIX* out, const D3DXVECTOR3* eye, const D3DXVECTOR3* at,
                               const D3DXVECTOR3* up);
D3DXMATRIX* D3DXMatrixPerspectiveFovLH(D3DXMATRIX* out, float fovY, float aspect, float zNear,
                                       float zFar);

// ---- Buffers, materials and meshes ----------------------------------------------------

// The platform's "not implemented" result, which the window layer's header does not declare.
constexpr HRESULT E_NOTIMPL = static_cast<HRESULT>(0x80004001u);
constexpr HRESULT D3DXERR_INVALIDMESH = static_cast<HRESULT>(0x88760B54u);
constexpr HRESULT D3DXERR_INVALIDDATA = static_cast<HRESULT>(0x88760B59u);

constexpr UINT D3DX_DEFAULT = static_cast<UINT>(-1);
constexpr DWORD D3DX_FILTER_NONE = 1;
constexpr DWORD D3DX_FILTER_POINT = 2;
constexpr DWORD D3DX_FILTER_LINEAR = 3;
constexpr DWORD D3DX_FILTER_TRIANGLE = 4;
constexpr DWORD D3DX_FILTER_BOX = 5;

constexpr DWORD D3DXMESH_32BIT = 0x001;
constexpr DWORD D3DXMESH_SYSTEMMEM = 0x110;
constexpr DWORD D3DXMESH_MANAGED = 0x220;

// Size in bytes of one vertex of a flexible vertex format.
UINT D3DXGetFVFVertexSize(DWORD fvf);

extern const GUID IID_IUnknown;
extern const GUID IID_ID3DXBuffer;
extern const GUID IID_ID3DXBaseMesh;
extern const GUID IID_ID3DXMesh;

class ID3DXBuffer : public IUnknown {
 public:
  virtual HRESULT QueryInterface(REFIID riid, void** out) = 0;
  virtual void* GetBufferPointer() = 0;
  virtual DWORD GetBufferSize() = 0;
};

HRESULT D3DXCreateBuffer(DWORD size, ID3DXBuffer** buffer);

struct D3DXMATERIAL {
  D3DMATERIAL9 MatD3D;
  LPSTR pTextureFilename;
};

struct D3DXATTRIBUTERANGE {
  DWORD AttribId;
  DWORD FaceStart;
  DWORD FaceCount;
  DWORD VertexStart;
  DWORD VertexCount;
};

struct D3DXINTERSECTINFO {
  DWORD FaceIndex;
  float U;
  float V;
  float Dist;
};

constexpr DWORD MAX_FVF_DECL_SIZE = 65;
struct D3DVERTEXELEMENT9;

// The whole interface, in the platform's order; platform/d3dx9/mesh.h says which methods the
// mesh implements.
class ID3DXBaseMesh : public IUnknown {
 public:
  virtual HRESULT QueryInterface(REFIID riid, void** out) = 0;
  virtual HRESULT DrawSubset(DWORD attributeId) = 0;
  virtual DWORD GetNumFaces() = 0;
  virtual DWORD GetNumVertices() = 0;
  virtual DWORD GetFVF() = 0;
  virtual HRESULT GetDeclaration(D3DVERTEXELEMENT9* declaration) = 0;
  virtual DWORD GetNumBytesPerVertex() = 0;
  virtual DWORD GetOptions() = 0;
  virtual HRESULT GetDevice(IDirect3DDevice9** device) = 0;
  virtual HRESULT CloneMeshFVF(DWORD options, DWORD fvf, IDirect3DDevice9* device,
                               class ID3DXMesh** clone) = 0;
  virtual HRESULT CloneMesh(DWORD options, const D3DVERTEXELEMENT9* declaration,
                            IDirect3DDevice9* device, class ID3DXMesh** clone) = 0;
  virtual HRESULT GetVertexBuffer(IDirect3DVertexBuffer9** buffer) = 0;
  virtual HRESULT GetIndexBuffer(IDirect3DIndexBuffer9** buffer) = 0;
  virtual HRESULT LockVertexBuffer(DWORD flags, void** data) = 0;
  virtual HRESULT UnlockVertexBuffer() = 0;
  // Three indices per face, 16-bit unless GetOptions() has D3DXMESH_32BIT.
  virtual HRESULT LockIndexBuffer(DWORD flags, void** data) = 0;
  virtual HRESULT UnlockIndexBuffer() = 0;
  virtual HRESULT GetAttributeTable(D3DXATTRIBUTERANGE* table, DWORD* size) = 0;
  virtual HRESULT ConvertPointRepsToAdjacency(const DWORD* pointReps, DWORD* adjacency) = 0;
  virtual HRESULT ConvertAdjacencyToPointReps(const DWORD* adjacency, DWORD* pointReps) = 0;
  virtual HRESULT GenerateAdjacency(float epsilon, DWORD* adjacency) = 0;
  virtual HRESULT UpdateSemantics(D3DVERTEXELEMENT9* declaration) = 0;
};

class ID3DXMesh : public ID3DXBaseMesh {
 public:
  virtual HRESULT LockAttributeBuffer(DWORD flags, DWORD** data) = 0;
  virtual HRESULT UnlockAttributeBuffer() = 0;
  virtual HRESULT Optimize(DWORD flags, const DWORD* adjacencyIn, DWORD* adjacencyOut,
                           DWORD* faceRemap, ID3DXBuffer** vertexRemap, ID3DXMesh** optimized) = 0;
  virtual HRESULT OptimizeInplace(DWORD flags, const DWORD* adjacencyIn, DWORD* adjacencyOut,
                                  DWORD* faceRemap, ID3DXBuffer** vertexRemap) = 0;
  virtual HRESULT SetAttributeTable(const D3DXATTRIBUTERANGE* table, DWORD size) = 0;
};

class ID3DXEffectInstance;

HRESULT D3DXLoadMeshFromXA(LPCSTR fileName, DWORD options, IDirect3DDevice9* device,
                           ID3DXBuffer** adjacency, ID3DXBuffer** materials,
                           ID3DXBuffer** effectInstances, DWORD* materialCount, ID3DXMesh** mesh);

HRESULT D3DXIntersect(ID3DXBaseMesh* mesh, const D3DXVECTOR3* rayPosition,
                      const D3DXVECTOR3* rayDirection, BOOL* hit, DWORD* faceIndex, float* u,
                      float* v, float* distance, ID3DXBuffer** allHits, DWORD* countOfHits);

// ---- Textures -------------------------------------------------------------------------

enum D3DXIMAGE_FILEFORMAT : DWORD {
  D3DXIFF_BMP = 0,
  D3DXIFF_JPG = 1,
  D3DXIFF_TGA = 2,
  D3DXIFF_PNG = 3,
  D3DXIFF_DDS = 4,
  D3DXIFF_PPM = 5,
  D3DXIFF_DIB = 6,
  D3DXIFF_HDR = 7,
  D3DXIFF_PFM = 8,
};

struct D3DXIMAGE_INFO {
  UINT Width;
  UINT Height;
  UINT Depth;
  UINT MipLevels;
  D3DFORMAT Format;
  D3DRESOURCETYPE ResourceType;
  D3DXIMAGE_FILEFORMAT ImageFileFormat;
};

struct PALETTEENTRY {
  BYTE peRed, peGreen, peBlue, peFlags;
};

HRESULT D3DXCreateTextureFromFileA(IDirect3DDevice9* device, LPCSTR fileName,
                                   IDirect3DTexture9** texture);
HRESULT D3DXCreateTextureFromFileExA(IDirect3DDevice9* device, LPCSTR fileName, UINT width,
                                     UINT height, UINT mipLevels, DWORD usage, D3DFORMAT format,
                                     D3DPOOL pool, DWORD filter, DWORD mipFilter, D3DCOLOR colorKey,
                                     D3DXIMAGE_INFO* sourceInfo, PALETTEENTRY* palette,
                                     IDirect3DTexture9** texture);
