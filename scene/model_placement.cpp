// Placement of a model: position, rotation in degrees and scale, the world matrix built
// from them, and the projection of the model's position to the screen.
#include "scene/model.h"

void KV_MODEL::SetPosition(float x, float y, float z) {
  position = D3DXVECTOR3(x, y, z);
}

void KV_MODEL::SetPosition(D3DXVECTOR3 newPosition) {
  position = newPosition;
}

void KV_MODEL::SetRotation(float x, float y, float z) {
  rotation = D3DXVECTOR3(x, y, z);
}

void KV_MODEL::SetScale(float x, float y, float z) {
  scale = D3DXVECTOR3(x, y, z);
}

D3DXVECTOR3 KV_MODEL::GetPosition() {
  return position;
}

D3DXMATRIX KV_MODEL::GetWorldMatrix() {
  return world;
}

// The product is formed exactly in double and rounded once to single precision.
float KV_MODEL::DegreesToRadians(float degrees) {
  return static_cast<float>(static_cast<double>(degrees) * static_cast<double>(0.017453292f));
}

// world = Scale × Rotationx × Rotationy × Rotationz × Translation: scaled, turned about X,
// then Y, then Z, and moved last.
void KV_MODEL::UpdateWorldMatrix() {
  D3DXMatrixIdentity(&world);
  D3DXMATRIX Translation, Rotationx, Rotationy, Rotationz, Scale;
  D3DXMatrixIdentity(&Translation);
  D3DXMatrixIdentity(&Rotationx);
  D3DXMatrixIdentity(&Rotationy);
  D3DXMatrixIdentity(&Rotationz);
  D3DXMatrixIdentity(&Scale);
  D3DXMatrixTranslation(&Translation, position.x, position.y, position.z);
  D3DXMatrixRotationX(&Rotationx, DegreesToRadians(rotation.x));
  D3DXMatrixRotationY(&Rotationy, DegreesToRadians(rotation.y));
  D3DXMatrixRotationZ(&Rotationz, DegreesToRadians(rotation.z));
  D3DXMatrixScaling(&Scale, scale.x, scale.y, scale.z);
  D3DXMatrixMultiply(&world, &world, &Scale);
  D3DXMatrixMultiply(&world, &world, &Rotationx);
  D3DXMatrixMultiply(&world, &world, &Rotationy);
  D3DXMatrixMultiply(&world, &world, &Rotationz);
  D3DXMatrixMultiply(&world, &world, &Translation);
}

D3DXVECTOR3 KV_MODEL::ProjectToScreen() {
  D3DVIEWPORT9 viewport;
  D3DXMATRIX projection, view;
  device->GetViewport(&viewport);
  device->GetTransform(D3DTS_PROJECTION, &projection);
  device->GetTransform(D3DTS_VIEW, &view);
  D3DXVECTOR3 out;
  D3DXVec3Project(&out, &position, &viewport, &projection, &view, &world);
  return out;
}
