// A walking first-person camera: eye, look-at target, up vector and a heading for turning
// about the vertical axis. Heading 0 looks along +z; a positive heading turns towards +x.
#pragma once

#include "platform/d3dx9.h"

class KV_CAMERA {
 public:
  KV_CAMERA();

  void SetPosition(D3DXVECTOR3 newPosition);
  void SetTarget(D3DXVECTOR3 newTarget);
  D3DXVECTOR3 GetPosition();
  D3DXVECTOR3 GetTarget();
  // Unit vector from the eye towards the target.
  D3DXVECTOR3 GetDirection();

  // Moves eye and target together along the full 3D look direction.
  void MoveForward(float amount);
  // Moves eye and target together along up x direction (to the right for a positive amount).
  void Strafe(float amount);
  // Adds to the heading and rebuilds the target 2 units ahead of the eye, at its height.
  void Turn(float degrees);
  // Sets the device's view transform from eye, target and up.
  void UpdateView(IDirect3DDevice9* device);

  D3DXVECTOR3 up;
  D3DXVECTOR3 position;
  D3DXVECTOR3 target;
  float heading;  // radians
};
