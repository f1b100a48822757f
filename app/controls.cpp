// The keyboard step of the frame: every key of the table that is down acts, in table order.
#include "app/application.h"

namespace {

bool KeyDown(int virtualKey) {
  return GetAsyncKeyState(virtualKey) != 0;
}

// Slides a model along x by d and keeps its emitter on it.
template <class Emitter>
void Slide(KV_MODEL* model, Emitter* emitter, float d) {
  const D3DXVECTOR3 p = model->GetPosition();
  model->SetPosition(p.x + d, p.y, p.z);
  model->UpdateWorldMatrix();
  const D3DXVECTOR3 moved = model->GetPosition();
  emitter->SetPosition(moved.x, moved.y, moved.z);
}

}  // namespace

void KV_APPLICATION::HandleControls() {
  if (KeyDown('W')) (*activeCamera)->MoveForward(0.25f);
  if (KeyDown('S')) (*activeCamera)->MoveForward(-0.25f);
  if (KeyDown('Q')) (*activeCamera)->Strafe(-0.25f);
  if (KeyDown('E')) (*activeCamera)->Strafe(0.25f);
  if (KeyDown('A')) (*activeCamera)->Turn(-2.0f);
  if (KeyDown('D')) (*activeCamera)->Turn(2.0f);
  if (KeyDown(VK_F5)) zoomTarget = 2.5f;
  if (KeyDown(VK_F6)) zoomTarget = 5.0f;
  if (KeyDown(VK_F7)) zoomTarget = 10.0f;
  if (KeyDown(VK_F1)) activeCamera = &camera1;
  if (KeyDown(VK_F2)) activeCamera = &camera2;
  if (KeyDown('T')) Slide(firePitModel, fireEmitter, -0.1f);
  if (KeyDown('Y')) Slide(firePitModel, fireEmitter, 0.1f);
  if (KeyDown('G')) Slide(fountainModel, fountainEmitter, -0.1f);
  if (KeyDown('H')) Slide(fountainModel, fountainEmitter, 0.1f);
}
