// One frame at the frame cap: zoom, controls, scene step, then the fixed draw order.
#include "app/application.h"

namespace {

template <class Emitter>
void RenderEmitter(Emitter* emitter, KV_CAMERA* camera) {
  const D3DXVECTOR3 eye = camera->GetPosition();
  emitter->SetCameraPosition(eye.x, eye.y, eye.z);
  emitter->Render();
}

}  // namespace

void KV_APPLICATION::Frame() {
  const DWORD now = timeGetTime();
  if (now - lastFrameTime <= 1000 / frameRate) return;
  lastFrameTime = timeGetTime();
  if (zoom != zoomTarget) UpdateProjection();
  HandleControls();
  UpdateScene();
  device->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0x00000000, 1.0f, 0);
  if (SUCCEEDED(device->BeginScene())) {
    environmentModel->Render(D3DCULL_CW);
    headModel->Render(D3DCULL_CCW);
    firePitModel->Render(D3DCULL_CCW);
    fountainModel->Render(D3DCULL_CCW);
    RenderEmitter(waterfallEmitter, *activeCamera);
    RenderEmitter(fireEmitter, *activeCamera);
    RenderEmitter(fountainEmitter, *activeCamera);
    device->EndScene();
  }
  device->Present(nullptr, nullptr, nullptr, nullptr);
}
