// The D3DXVec3 operations the platform exports: row vectors, p' = p x M. Those its header
// defines inline are in math_operators.cpp.
#include <cmath>

#include "platform/d3dx9.h"

// A zero vector stays zero rather than becoming NaN.
D3DXVECTOR3* D3DXVec3Normalize(D3DXVECTOR3* out, const D3DXVECTOR3* v) {
  const float length = D3DXVec3Length(v);
  if (length == 0.0f) {
    *out = D3DXVECTOR3(0.0f, 0.0f, 0.0f);
    return out;
  }
  *out = D3DXVECTOR3(v->x / length, v->y / length, v->z / length);
  return out;
}

D3DXVECTOR4* D3DXVec3Transform(D3DXVECTOR4* out, const D3DXVECTOR3* v, const D3DXMATRIX* m) {
  const D3DXVECTOR4 result(v->x * m->_11 + v->y * m->_21 + v->z * m->_31 + m->_41,
                           v->x * m->_12 + v->y * m->_22 + v->z * m->_32 + m->_42,
                           v->x * m->_13 + v->y * m->_23 + v->z * m->_33 + m->_43,
                           v->x * m->_14 + v->y * m->_24 + v->z * m->_34 + m->_44);
  *out = result;
  return out;
}

// The point (x, y, z, 1) transformed and divided by its w.
D3DXVECTOR3* D3DXVec3TransformCoord(D3DXVECTOR3* out, const D3DXVECTOR3* v, const D3DXMATRIX* m) {
  D3DXVECTOR4 h;
  D3DXVec3Transform(&h, v, m);
  *out = D3DXVECTOR3(h.x / h.w, h.y / h.w, h.z / h.w);
  return out;
}

// The direction (x, y, z, 0): the upper 3 x 3 part only, no translation.
D3DXVECTOR3* D3DXVec3TransformNormal(D3DXVECTOR3* out, const D3DXVECTOR3* v, const D3DXMATRIX* m) {
  const D3DXVECTOR3 result(v->x * m->_11 + v->y * m->_21 + v->z * m->_31,
                           v->x * m->_12 + v->y * m->_22 + v->z * m->_32,
                           v->x * m->_13 + v->y * m->_23 + v->z * m->_33);
  *out = result;
  return out;
}

// Object space to screen: world x view x projection (a null matrix counts as identity),
// then the viewport mapping with y pointing down.
D3DXVECTOR3* D3DXVec3Project(D3DXVECTOR3* out, const D3DXVECTOR3* v, const D3DVIEWPORT9* viewport,
                             const D3DXMATRIX* projection, const D3DXMATRIX* view,
                             const D3DXMATRIX* world) {
  D3DXMATRIX combined;
  D3DXMatrixIdentity(&combined);
  if (world) D3DXMatrixMultiply(&combined, &combined, world);
  if (view) D3DXMatrixMultiply(&combined, &combined, view);
  if (projection) D3DXMatrixMultiply(&combined, &combined, projection);
  D3DXVECTOR3 p;
  D3DXVec3TransformCoord(&p, v, &combined);
  if (viewport) {
    const float width = static_cast<float>(viewport->Width);
    const float height = static_cast<float>(viewport->Height);
    p.x = static_cast<float>(viewport->X) + width * (1.0f + p.x) / 2.0f;
    p.y = static_cast<float>(viewport->Y) + height * (1.0f - p.y) / 2.0f;
    p.z = viewport->MinZ + p.z * (viewport->MaxZ - viewport->MinZ);
  }
  *out = p;
  return out;
}
