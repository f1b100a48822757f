// The application object: owns the device, the mouse input, the two cameras, the four
// models and the three emitters, the frame cap and the zoom.
#pragma once

#include "camera/camera.h"
#include "camera/input.h"
#include "particles/fire_emitter.h"
#include "particles/fountain_emitter.h"
#include "particles/waterfall_emitter.h"
#include "platform/d3d9.h"
#include "platform/d3dx9.h"
#include "scene/model.h"

class KV_WINDOW;

class KV_APPLICATION {
 public:
  KV_APPLICATION(bool windowed, int width, int height);
  // Releases nothing: Shutdown must have run before.
  ~KV_APPLICATION();
  KV_APPLICATION(const KV_APPLICATION&) = delete;
  KV_APPLICATION& operator=(const KV_APPLICATION&) = delete;

  bool Initialize(KV_WINDOW& window, HINSTANCE instance);
  void Frame();
  void UpdateProjection();
  void UpdateScene();
  void HandleControls();
  float GroundHeight(D3DXVECTOR3 point, float offset);
  void Shutdown();

  bool windowed;
  int width;
  int height;
  UINT frameRate = 60;
  DWORD lastFrameTime = 0;
  IDirect3D9* direct3D = nullptr;
  IDirect3DDevice9* device = nullptr;
  KV_INPUT* input = nullptr;
  KV_CAMERA** activeCamera = nullptr;  // refers to camera1 or camera2
  KV_CAMERA* camera1 = nullptr;
  KV_CAMERA* camera2 = nullptr;
  KV_MODEL* environmentModel = nullptr;
  KV_MODEL* headModel = nullptr;
  KV_MODEL* firePitModel = nullptr;
  KV_MODEL* fountainModel = nullptr;
  KV_FIRE_EMITTER* fireEmitter = nullptr;
  KV_FOUNTAIN_EMITTER* fountainEmitter = nullptr;
  KV_WATERFALL_EMITTER* waterfallEmitter = nullptr;
  float zoom = 1.0f;
  float zoomTarget = 2.5f;

 private:
  bool CreateDevice(HWND window);
  void SetDeviceStates();
  void BuildScene();
  void CreateCameras();
  KV_MODEL* CreateModel(const char* file, D3DXVECTOR3 position, D3DXVECTOR3 rotation,
                        D3DXVECTOR3 scale);
};
