#include <gtest/gtest.h>

#include <numbers>
#include <type_traits>

#include "platform/d3dx9.h"

namespace {

constexpr float kHalfPi = std::numbers::pi_v<float> / 2;

void ExpectNear(const D3DXVECTOR3& actual, const D3DXVECTOR3& expected, float tolerance = 1e-5f) {
  EXPECT_NEAR(actual.x, expected.x, tolerance);
  EXPECT_NEAR(actual.y, expected.y, tolerance);
  EXPECT_NEAR(actual.z, expected.z, tolerance);
}

// The matrix one of the D3DXMatrix... builders writes.
template <typename... Args>
D3DXMATRIX Make(D3DXMATRIX* (*build)(D3DXMATRIX*, Args...), std::type_identity_t<Args>... args) {
  D3DXMATRIX m;
  build(&m, args...);
  return m;
}

D3DXMATRIX LookAt(D3DXVECTOR3 eye, D3DXVECTOR3 at) {
  const D3DXVECTOR3 up(0, 1, 0);
  return Make(D3DXMatrixLookAtLH, &eye, &at, &up);
}

}  // namespace

TEST(MathVector, CrossNormalizeAndOperators) {
  D3DXVECTOR3 x(1, 0, 0), y(0, 1, 0), slanted(3, 0, -4), zero(0, 0, 0), v;
  ExpectNear(*D3DXVec3Cross(&v, &x, &y), {0, 0, 1});  // left-handed: x cross y is +z
  ExpectNear(*D3DXVec3Normalize(&v, &slanted), {0.6f, 0, -0.8f});
  EXPECT_EQ(*D3DXVec3Normalize(&v, &zero), zero);  // no NaN
  EXPECT_FLOAT_EQ(D3DXVec3Length(&slanted), 5);
  ExpectNear(2.0f * (slanted - x) / 4.0f + y, {1, 1, -2});
}

// Points as row vectors, p' = p M divided by w: each builder's matrix carries them where the
// left-handed convention puts them. The output may be the input.
TEST(MathMatrix, BuildersCarryPointsTheLeftHandedRowVectorWay) {
  const D3DXMATRIX scale = Make(D3DXMatrixScaling, 2, 2, 2);
  const D3DXMATRIX move = Make(D3DXMatrixTranslation, 10, 0, 0);
  D3DXMATRIX halving = Make(D3DXMatrixTranslation, 5, 6, 7), aliased = move;
  halving._44 = 2;
  D3DXMatrixMultiply(&aliased, &aliased, &scale);
  const D3DXMATRIX projection = Make(D3DXMatrixPerspectiveFovLH, kHalfPi, 2, 1, 101);
  const struct {
    const char* what;
    D3DXMATRIX m;
    D3DXVECTOR3 from, to;
  } cases[] = {
      {"quarter turn about x: +y to +z", Make(D3DXMatrixRotationX, kHalfPi), {0, 1, 0}, {0, 0, 1}},
      {"about y: +x to -z", Make(D3DXMatrixRotationY, kHalfPi), {1, 0, 0}, {0, 0, -1}},
      {"about z: +x to +y", Make(D3DXMatrixRotationZ, kHalfPi), {1, 0, 0}, {0, 1, 0}},
      {"scaled first, then moved", scale * move, {1, 2, 3}, {12, 4, 6}},
      {"moved first, then scaled, into the input", aliased, {1, 2, 3}, {22, 4, 6}},
      {"moved, then halved by w = 2", halving, {1, 2, 3}, {3, 4, 5}},
      {"target onto +z", LookAt({1, 2, 3}, {4, 6, 3}), {4, 6, 3}, {0, 0, 5}},
      {"looking along +x: -z to the right", LookAt({0, 0, 0}, {1, 0, 0}), {0, 0, -1}, {1, 0, 0}},
      {"near plane to depth 0", projection, {0, 0, 1}, {0, 0, 0}},
      {"far plane to depth 1", projection, {0, 0, 101}, {0, 0, 1}},
      {"corner of the view (y scale 1, x 0.5)", projection, {4, 2, 2}, {1, 1, 0.5f * 101 / 100}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    D3DXVECTOR3 p = c.from;
    ExpectNear(*D3DXVec3TransformCoord(&p, &p, &c.m), c.to);
  }
  D3DXVECTOR3 normal(1, 2, 3);  // directions ignore translation and w
  ExpectNear(*D3DXVec3TransformNormal(&normal, &normal, &halving), {1, 2, 3});
}

TEST(MathMatrix, InverseIntoItsInputAndNoneForAFlatMatrix) {
  const D3DXMATRIX m = Make(D3DXMatrixScaling, 2, 3, 4) * Make(D3DXMatrixRotationY, 0.7f) *
                       Make(D3DXMatrixTranslation, -3, 5, 9);
  D3DXMATRIX inverse = m, product;
  ASSERT_NE(D3DXMatrixInverse(&inverse, nullptr, &inverse), nullptr);
  D3DXMatrixMultiply(&product, &inverse, &m);
  for (int i = 0; i < 16; ++i) EXPECT_NEAR(product.m[i / 4][i % 4], i % 5 == 0 ? 1 : 0, 1e-5);
  const D3DXMATRIX flat = Make(D3DXMatrixScaling, 1, 0, 1);
  EXPECT_EQ(D3DXMatrixInverse(&inverse, nullptr, &flat), nullptr);
}

TEST(MathProject, ThroughViewAndProjectionOntoAnOffsetViewport) {
  const D3DXVECTOR3 origin(0, 0, 0);
  const D3DXMATRIX view = LookAt({0, 0, -10}, origin);
  const D3DXMATRIX projection = Make(D3DXMatrixPerspectiveFovLH, kHalfPi, 4.0f / 3, 1, 101);
  const D3DXMATRIX raise = Make(D3DXMatrixTranslation, 0, 10, 0);
  const D3DVIEWPORT9 viewport{10, 20, 800, 600, 0, 1};
  D3DXVECTOR3 out;
  // The centre; depth at view distance 10: zf/(zf-zn) * (1 - zn/10).
  ExpectNear(*D3DXVec3Project(&out, &origin, &viewport, &projection, &view, nullptr),
             {410, 320, 101.0f / 100 * 0.9f}, 1e-3f);
  // Raised by the world to the top edge of the 90 degree view.
  EXPECT_NEAR(D3DXVec3Project(&out, &origin, &viewport, &projection, &view, &raise)->y, 20, 1e-3);
}

TEST(MathFvf, VertexSizes) {
  for (auto [fvf, size] : {std::pair{DWORD(D3DFVF_XYZ | D3DFVF_TEX1), 20u},
                           {D3DFVF_XYZ | D3DFVF_NORMAL | D3DFVF_DIFFUSE | D3DFVF_TEX1, 36u},
                           {D3DFVF_XYZ | D3DFVF_NORMAL | D3DFVF_DIFFUSE | D3DFVF_SPECULAR |
                                (2 << D3DFVF_TEXCOUNT_SHIFT),
                            48u}}) {
    EXPECT_EQ(D3DXGetFVFVertexSize(fvf), size) << fvf;
  }
}
