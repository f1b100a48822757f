// The matrix builders the scene uses, beyond what the model, camera and billboard tests reach.
#include <gtest/gtest.h>

#include <numbers>
#include <type_traits>

#include "platform/d3dx9.h"

namespace {

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

// Points as row vectors, p' = p M divided by w, into the input: each matrix carries them where
// the left-handed convention puts them.
TEST(MathMatrix, BuildersCarryPointsTheLeftHandedRowVectorWay) {
  constexpr float kHalfPi = std::numbers::pi_v<float> / 2;
  D3DXMATRIX halving = Make(D3DXMatrixTranslation, 5, 6, 7);
  halving._44 = 2;
  const D3DXMATRIX projection = Make(D3DXMatrixPerspectiveFovLH, kHalfPi, 2, 1, 101);
  const struct {
    const char* what;
    D3DXMATRIX m;
    D3DXVECTOR3 from, to;
  } cases[] = {
      {"moved, then halved by w = 2", halving, {1, 2, 3}, {3, 4, 5}},
      {"target onto +z", LookAt({1, 2, 3}, {4, 6, 3}), {4, 6, 3}, {0, 0, 5}},
      {"looking along +x: -z to the right", LookAt({0, 0, 0}, {1, 0, 0}), {0, 0, -1}, {1, 0, 0}},
      {"near plane to depth 0", projection, {0, 0, 1}, {0, 0, 0}},
      {"far plane to depth 1", projection, {0, 0, 101}, {0, 0, 1}},
      {"corner of the view (y scale 1, x 0.5)", projection, {4, 2, 2}, {1, 1, 0.5f * 101 / 100}},
  };
  for (const auto& c : cases) {
    D3DXVECTOR3 p = c.from;
    const D3DXVECTOR3 miss = *D3DXVec3TransformCoord(&p, &p, &c.m) - c.to;
    EXPECT_LT(D3DXVec3Length(&miss), 1e-5f) << c.what;
  }
  D3DXVECTOR3 normal(1, 2, 3);  // directions ignore translation and w
  EXPECT_EQ(*D3DXVec3TransformNormal(&normal, &normal, &halving), D3DXVECTOR3(1, 2, 3));
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
