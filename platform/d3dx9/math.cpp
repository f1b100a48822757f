// Vector operators and the D3DXVec3 operations: row vectors, p' = p x M.
#include <cmath>

#include "platform/d3dx9.h"

D3DXVECTOR3& D3DXVECTOR3::operator+=(const D3DXVECTOR3& v) {
  x += v.x;
  y += v.y;
  z += v.z;
  return *this;
}

D3DXVECTOR3& D3DXVECTOR3::operator-=(const D3DXVECTOR3& v) {
  x -= v.x;
  y -= v.y;
  z -= v.z;
  return *this;
}

D3DXVECTOR3& D3DXVECTOR3::operator*=(float s) {
  x *= s;
  y *= s;
  z *= s;
  return *this;
}

// Division multiplies by the reciprocal, as the platform's inline operators do.
D3DXVECTOR3& D3DXVECTOR3::operator/=(float s) {
  return *this *= 1.0f / s;
}

D3DXVECTOR3 D3DXVECTOR3::operator+() const {
  return *this;
}
D3DXVECTOR3 D3DXVECTOR3::operator-() const {
  return D3DXVECTOR3(-x, -y, -z);
}

D3DXVECTOR3 D3DXVECTOR3::operator+(const D3DXVECTOR3& v) const {
  return D3DXVECTOR3(x + v.x, y + v.y, z + v.z);
}

D3DXVECTOR3 D3DXVECTOR3::operator-(const D3DXVECTOR3& v) const {
  return D3DXVECTOR3(x - v.x, y - v.y, z - v.z);
}

D3DXVECTOR3 D3DXVECTOR3::operator*(float s) const {
  return D3DXVECTOR3(x * s, y * s, z * s);
}

D3DXVECTOR3 D3DXVECTOR3::operator/(float s) const {
  const float inverse = 1.0f / s;
  return D3DXVECTOR3(x * inverse, y * inverse, z * inverse);
}

bool D3DXVECTOR3::operator==(const D3DXVECTOR3& v) const {
  return x == v.x && y == v.y && z == v.z;
}

bool D3DXVECTOR3::operator!=(const D3DXVECTOR3& v) const {
  return !(*this == v);
}

D3DXVECTOR3 operator*(float s, const D3DXVECTOR3& v) {
  return D3DXVECTOR3(s * v.x, s * v.y, s * v.z);
}

float D3DXVec3LengthSq(const D3DXVECTOR3* v) {
  return v->x * v->x + v->y * v->y + v->z * v->z;
}

float D3DXVec3Length(const D3DXVECTOR3* v) {
  return std::sqrt(D3DXVec3LengthSq(v));
}

float D3DXVec3Dot(const D3DXVECTOR3* a, const D3DXVECTOR3* b) {
  return a->x * b->x + a->y * b->y + a->z * b->z;
}

D3DXVECTOR3* D3DXVec3Cross(D3DXVECTOR3* out, const D3DXVECTOR3* a, const D3DXVECTOR3* b) {
  const D3DXVECTOR3 result(a->y * b->z - a->z * b->y, a->z * b->x - a->x * b->z,
                           a->x * b->y - a->y * b->x);
  *out = result;
  return out;
}

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
