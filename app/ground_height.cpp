// The ground height probe: a ray straight down from the point against the environment mesh.
#include "app/application.h"

float KV_APPLICATION::GroundHeight(D3DXVECTOR3 point, float offset) {
  D3DXMATRIX mat = environmentModel ? environmentModel->GetWorldMatrix() : D3DXMATRIX();
  D3DXVECTOR3 down(0.0f, -1.0f, 0.0f);
  D3DXVECTOR3 pos = point;
  BOOL hit = FALSE;
  float distance = 0.0f;
  ID3DXMesh* mesh = environmentModel ? environmentModel->GetMesh() : nullptr;
  // Without a ground mesh, or with a world matrix that cannot be inverted, nothing is hit.
  if (!mesh || !D3DXMatrixInverse(&mat, nullptr, &mat)) return offset;
  D3DXVec3TransformCoord(&pos, &pos, &mat);
  D3DXVec3Normalize(&down, &down);
  D3DXVec3TransformNormal(&down, &down, &mat);
  D3DXIntersect(mesh, &pos, &down, &hit, nullptr, nullptr, nullptr, &distance, nullptr, nullptr);
  const float h = pos.y - distance;
  if (hit == TRUE && offset > h) return h + offset;
  return offset;
}
