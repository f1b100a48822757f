#include <gtest/gtest.h>

#include <numbers>

#include "platform/d3dx9.h"

namespace {

constexpr float kHalfPi = std::numbers::pi_v<float> / 2;

void ExpectNear(const D3DXVECTOR3& actual, float x, float y, float z, float tolerance = 1e-5f) {
  EXPECT_NEAR(actual.x, x, tolerance);
  EXPECT_NEAR(actual.y, y, tolerance);
  EXPECT_NEAR(actual.z, z, tolerance);
}

D3DXVECTOR3 Coord(D3DXVECTOR3 p, const D3DXMATRIX& m) {
  D3DXVec3TransformCoord(&p, &p, &m);
  return p;
}

}  // namespace

TEST(MathVector, CrossNormalizeAndOperators) {
  D3DXVECTOR3 x(1, 0, 0), y(0, 1, 0), v;
  ExpectNear(*D3DXVec3Cross(&v, &x, &y), 0, 0, 1);
  ExpectNear(*D3DXVec3Cross(&v, &y, &x), 0, 0, -1);
  D3DXVECTOR3 slanted(3, 0, -4);
  ExpectNear(*D3DXVec3Normalize(&v, &slanted), 0.6f, 0, -0.8f);
  D3DXVECTOR3 zero(0, 0, 0);
  EXPECT_EQ(*D3DXVec3Normalize(&v, &zero), zero);  // no NaN
  EXPECT_FLOAT_EQ(D3DXVec3Length(&slanted), 5);
  ExpectNear(2.0f * (slanted - x) / 4.0f + y, 1, 1, -2);
}

TEST(MathMatrix, LeftHandedRotationsOfAQuarterTurn) {
  D3DXMATRIX m;
  D3DXMatrixRotationX(&m, kHalfPi);  // +y towards +z
  ExpectNear(Coord({0, 1, 0}, m), 0, 0, 1);
  D3DXMatrixRotationY(&m, kHalfPi);  // +x towards -z, +z towards +x
  ExpectNear(Coord({1, 0, 0}, m), 0, 0, -1);
  ExpectNear(Coord({0, 0, 1}, m), 1, 0, 0);
  D3DXMatrixRotationZ(&m, kHalfPi);  // +x towards +y
  ExpectNear(Coord({1, 0, 0}, m), 0, 1, 0);
}

TEST(MathMatrix, RowVectorOrderOfProducts) {
  D3DXMATRIX scale, move, m;
  D3DXMatrixScaling(&scale, 2, 2, 2);
  D3DXMatrixTranslation(&move, 10, 0, 0);
  ExpectNear(Coord({1, 2, 3}, scale * move), 12, 4, 6);  // scaled first, then moved
  ExpectNear(Coord({1, 2, 3}, *D3DXMatrixMultiply(&m, &move, &scale)), 22, 4, 6);
  EXPECT_EQ(move._41, 10);
  EXPECT_EQ(D3DXMATRIX(1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16)(1, 2), 7);
  EXPECT_TRUE(D3DXMatrixIsIdentity(D3DXMatrixIdentity(&m)));
  EXPECT_NE(m, move);
  m *= move;
  EXPECT_EQ(m, move);
}

TEST(MathMatrix, CoordDividesByWNormalIgnoresTranslation) {
  D3DXMATRIX m;
  D3DXMatrixTranslation(&m, 5, 6, 7);
  D3DXVECTOR3 v(1, 2, 3), out;
  ExpectNear(*D3DXVec3TransformCoord(&out, &v, &m), 6, 8, 10);
  ExpectNear(*D3DXVec3TransformNormal(&out, &v, &m), 1, 2, 3);
  m._44 = 2;  // w = 2 halves the point
  ExpectNear(*D3DXVec3TransformCoord(&out, &v, &m), 3, 4, 5);
}

TEST(MathMatrix, InverseAndDeterminant) {
  D3DXMATRIX rotate, scale, move, inverse, product;
  D3DXMatrixRotationY(&rotate, 0.7f);
  D3DXMatrixScaling(&scale, 2, 3, 4);
  D3DXMatrixTranslation(&move, -3, 5, 9);
  const D3DXMATRIX m = scale * rotate * move;
  float determinant = 0;
  ASSERT_NE(D3DXMatrixInverse(&inverse, &determinant, &m), nullptr);
  EXPECT_NEAR(determinant, 24, 1e-4);
  D3DXMatrixMultiply(&product, &inverse, &m);
  for (int i = 0; i < 16; ++i) EXPECT_NEAR(product.m[i / 4][i % 4], i % 5 == 0 ? 1 : 0, 1e-5);

  D3DXMatrixScaling(&scale, 1, 0, 1);
  D3DXMATRIX untouched = move;
  EXPECT_EQ(D3DXMatrixInverse(&untouched, nullptr, &scale), nullptr);
  EXPECT_EQ(untouched, move);
}

TEST(MathMatrix, LookAtMovesEyeToOriginAndTargetOntoPlusZ) {
  D3DXMATRIX view;
  D3DXVECTOR3 eye(1, 2, 3), at(4, 6, 3), up(0, 1, 0);
  D3DXMatrixLookAtLH(&view, &eye, &at, &up);
  ExpectNear(Coord(eye, view), 0, 0, 0);
  ExpectNear(Coord(at, view), 0, 0, 5);
  // Looking along +x with y up, -z lies to the right and +y above.
  D3DXVECTOR3 origin(0, 0, 0), east(1, 0, 0);
  D3DXMatrixLookAtLH(&view, &origin, &east, &up);
  ExpectNear(Coord({0, 0, -1}, view), 1, 0, 0);
  ExpectNear(Coord({0, 1, 0}, view), 0, 1, 0);
}

TEST(MathMatrix, PerspectiveMapsNearToZeroAndFarToOne) {
  D3DXMATRIX projection;
  D3DXMatrixPerspectiveFovLH(&projection, kHalfPi, 2, 1, 101);  // yScale 1, xScale 0.5
  ExpectNear(Coord({0, 0, 1}, projection), 0, 0, 0);
  ExpectNear(Coord({0, 0, 101}, projection), 0, 0, 1);
  ExpectNear(Coord({4, 2, 2}, projection), 1, 1, 0.5f * 101 / 100);
  EXPECT_EQ(projection._34, 1);
  EXPECT_EQ(projection._44, 0);
}

TEST(MathProject, ViewportMapping) {
  const D3DVIEWPORT9 viewport{10, 20, 800, 600, 0.5f, 1};
  D3DXVECTOR3 p(0.5f, 0.5f, 0.25f), out;
  ExpectNear(*D3DXVec3Project(&out, &p, &viewport, nullptr, nullptr, nullptr), 610, 170, 0.625f,
             1e-3f);

  D3DXMATRIX view, projection, raise;
  D3DXVECTOR3 eye(0, 0, -10), origin(0, 0, 0), up(0, 1, 0);
  D3DXMatrixLookAtLH(&view, &eye, &origin, &up);
  D3DXMatrixPerspectiveFovLH(&projection, kHalfPi, 4.0f / 3, 1, 101);
  const D3DVIEWPORT9 full{10, 20, 800, 600, 0, 1};
  // Depth at view distance 10: zf/(zf-zn) * (1 - zn/10).
  ExpectNear(*D3DXVec3Project(&out, &origin, &full, &projection, &view, nullptr), 410, 320,
             101.0f / 100 * 0.9f, 1e-3f);
  // Raised by the world to the top edge of the 90 degree view.
  D3DXMatrixTranslation(&raise, 0, 10, 0);
  EXPECT_NEAR(D3DXVec3Project(&out, &origin, &full, &projection, &view, &raise)->y, 20, 1e-3);
}

TEST(MathAliasing, OutputMayBeAnInput) {
  D3DXMATRIX a, b, expected;
  D3DXMatrixRotationZ(&a, 0.3f);
  D3DXMatrixTranslation(&b, 1, 2, 3);
  D3DXMatrixMultiply(&expected, &a, &b);
  EXPECT_EQ(*D3DXMatrixMultiply(&a, &a, &b), expected);
  D3DXMATRIX inverse;
  D3DXMatrixInverse(&inverse, nullptr, &a);
  EXPECT_EQ(*D3DXMatrixInverse(&a, nullptr, &a), inverse);
  D3DXMatrixTranspose(&expected, &a);
  EXPECT_EQ(*D3DXMatrixTranspose(&a, &a), expected);
  D3DXVECTOR3 v(1, 0, 0), w(0, 1, 0);
  ExpectNear(*D3DXVec3Cross(&v, &v, &w), 0, 0, 1);
  ExpectNear(*D3DXVec3TransformCoord(&w, &w, &b), 1, 3, 3);
}

TEST(MathFvf, VertexSizes) {
  EXPECT_EQ(D3DXGetFVFVertexSize(D3DFVF_XYZ | D3DFVF_TEX1), 20u);
  EXPECT_EQ(D3DXGetFVFVertexSize(D3DFVF_XYZ | D3DFVF_NORMAL | D3DFVF_TEX1), 32u);
  EXPECT_EQ(D3DXGetFVFVertexSize(D3DFVF_XYZ | D3DFVF_NORMAL | D3DFVF_DIFFUSE | D3DFVF_SPECULAR |
                                 (2 << D3DFVF_TEXCOUNT_SHIFT)),
            48u);
}
