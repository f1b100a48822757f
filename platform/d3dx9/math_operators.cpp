// The math the platform's own header defines inline, so the Windows program, which compiles
// against that header, leaves this file out: the vector and matrix operators, D3DXVec3Length,
// D3DXVec3LengthSq, D3DXVec3Dot, D3DXVec3Cross and D3DXMatrixIdentity.
#include <cmath>
#include <cstring>

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

D3DXMATRIX::D3DXMATRIX(float f11, float f12, float f13, float f14, float f21, float f22, float f23,
                       float f24, float f31, float f32, float f33, float f34, float f41, float f42,
                       float f43, float f44) {
  const float rows[4][4] = {
      {f11, f12, f13, f14}, {f21, f22, f23, f24}, {f31, f32, f33, f34}, {f41, f42, f43, f44}};
  std::memcpy(m, rows, sizeof(m));
}

D3DXMATRIX& D3DXMATRIX::operator*=(const D3DXMATRIX& other) {
  D3DXMatrixMultiply(this, this, &other);
  return *this;
}

D3DXMATRIX D3DXMATRIX::operator*(const D3DXMATRIX& other) const {
  D3DXMATRIX result;
  D3DXMatrixMultiply(&result, this, &other);
  return result;
}

// Bitwise comparison, as the platform's operator does.
bool D3DXMATRIX::operator==(const D3DXMATRIX& other) const {
  return std::memcmp(m, other.m, sizeof(m)) == 0;
}

bool D3DXMATRIX::operator!=(const D3DXMATRIX& other) const {
  return !(*this == other);
}

D3DXMATRIX* D3DXMatrixIdentity(D3DXMATRIX* out) {
  *out = D3DXMATRIX(1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1);
  return out;
}
