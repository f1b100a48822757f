#include "camera/camera.h"

#include <cmath>

namespace {

constexpr float kDegreesToRadians = 0.017453292f;

// Sine and cosine are taken in double precision and rounded to float.
float Sine(float angle) {
  return static_cast<float>(std::sin(static_cast<double>(angle)));
}
float Cosine(float angle) {
  return static_cast<float>(std::cos(static_cast<double>(angle)));
}

}  // namespace

KV_CAMERA::KV_CAMERA()
    : up(0.0f, 1.0f, 0.0f), position(0.0f, 0.0f, 0.0f), target(0.0f, 0.0f, 0.0f), heading(0.0f) {}

void KV_CAMERA::SetPosition(D3DXVECTOR3 newPosition) {
  position = newPosition;
}

void KV_CAMERA::SetTarget(D3DXVECTOR3 newTarget) {
  target = newTarget;
}

D3DXVECTOR3 KV_CAMERA::GetPosition() {
  return position;
}

D3DXVECTOR3 KV_CAMERA::GetTarget() {
  return target;
}

D3DXVECTOR3 KV_CAMERA::GetDirection() {
  D3DXVECTOR3 direction = target - position;
  D3DXVec3Normalize(&direction, &direction);
  return direction;
}

void KV_CAMERA::MoveForward(float amount) {
  D3DXVECTOR3 direction = GetDirection();
  direction *= amount;
  position += direction;
  target += direction;
}

// The side vector keeps the horizontal length of the unit direction; it is not normalised.
void KV_CAMERA::Strafe(float amount) {
  D3DXVECTOR3 direction = GetDirection();
  D3DXVECTOR3 side;
  D3DXVec3Cross(&side, &up, &direction);
  side *= amount;
  position += side;
  target += side;
}

// The previous target is discarded: the new one depends on the heading alone.
void KV_CAMERA::Turn(float degrees) {
  heading += degrees * kDegreesToRadians;
  target = position;
  target.x += 2.0f * Sine(heading);
  target.z += 2.0f * Cosine(heading);
}

void KV_CAMERA::UpdateView(IDirect3DDevice9* device) {
  D3DXMATRIX view;
  D3DXMatrixLookAtLH(&view, &position, &target, &up);
  device->SetTransform(D3DTS_VIEW, &view);
}
