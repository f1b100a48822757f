// The zoom animation with its projection, and the scene step that keeps the active camera,
// the fire pit and the fountain on the ground.
#include <cmath>

#include "app/application.h"

void KV_APPLICATION::UpdateProjection() {
  if (zoomTarget < zoom) {
    zoom = zoom - 0.1f;
  } else {
    zoom = zoom + 0.1f;
  }
  if (std::fabs(zoomTarget - zoom) < 0.01f) zoom = zoomTarget;
  D3DXMATRIX projection;
  D3DXMatrixPerspectiveFovLH(&projection, 3.1415927f / zoom, 1.3333334f, 0.01f, 500.0f);
  if (device) device->SetTransform(D3DTS_PROJECTION, &projection);
}

void KV_APPLICATION::UpdateScene() {
  KV_CAMERA* camera = *activeCamera;
  D3DXVECTOR3 position = camera->GetPosition();
  D3DXVECTOR3 target = camera->GetTarget();
  position.y = GroundHeight(camera->GetPosition(), 2.0f);
  target.y = GroundHeight(camera->GetPosition(), 2.0f);
  camera->SetPosition(position);
  camera->SetTarget(target);
  camera->UpdateView(device);

  D3DXVECTOR3 p = firePitModel->GetPosition();
  p.y = GroundHeight(firePitModel->GetPosition(), 0.0f);
  firePitModel->SetPosition(p);
  firePitModel->UpdateWorldMatrix();
  fireEmitter->SetPosition(p.x, p.y, p.z);

  D3DXVECTOR3 q = fountainModel->GetPosition();
  q.y = GroundHeight(fountainModel->GetPosition(), 1.0f);
  fountainModel->SetPosition(q);
  fountainModel->UpdateWorldMatrix();
  fountainEmitter->SetPosition(q.x, q.y, q.z);
}
