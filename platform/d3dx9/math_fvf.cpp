// Vertex sizes of flexible vertex formats.
#include "platform/d3dx9.h"

UINT D3DXGetFVFVertexSize(DWORD fvf) {
  UINT size = 0;
  if ((fvf & D3DFVF_POSITION_MASK) == D3DFVF_XYZ) size += 3 * sizeof(float);
  if (fvf & D3DFVF_NORMAL) size += 3 * sizeof(float);
  if (fvf & D3DFVF_DIFFUSE) size += sizeof(D3DCOLOR);
  if (fvf & D3DFVF_SPECULAR) size += sizeof(D3DCOLOR);
  const UINT textureSets = (fvf & D3DFVF_TEXCOUNT_MASK) >> D3DFVF_TEXCOUNT_SHIFT;
  return size + textureSets * 2 * sizeof(float);
}
