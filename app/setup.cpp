// The set-up: the device and its states, the first projection, the mouse, the scene table,
// the cameras and the first scene step.
#include "app/application.h"
#include "app/window.h"

bool KV_APPLICATION::Initialize(KV_WINDOW& window, HINSTANCE instance) {
  direct3D = Direct3DCreate9(D3D_SDK_VERSION);
  if (!direct3D) return false;
  if (!CreateDevice(window.windowHandle)) return false;
  SetDeviceStates();
  UpdateProjection();
  input = new KV_INPUT(window, instance);
  if (!input->IsReady()) return false;
  BuildScene();
  CreateCameras();
  activeCamera = &camera1;
  UpdateScene();
  return true;
}

bool KV_APPLICATION::CreateDevice(HWND window) {
  D3DPRESENT_PARAMETERS parameters = {};
  parameters.BackBufferWidth = static_cast<UINT>(width);
  parameters.BackBufferHeight = static_cast<UINT>(height);
  parameters.BackBufferFormat = D3DFMT_X8R8G8B8;
  parameters.BackBufferCount = 1;
  parameters.MultiSampleType = D3DMULTISAMPLE_NONE;
  parameters.MultiSampleQuality = 0;
  parameters.SwapEffect = D3DSWAPEFFECT_DISCARD;
  parameters.hDeviceWindow = window;
  parameters.Windowed = windowed ? TRUE : FALSE;
  parameters.EnableAutoDepthStencil = TRUE;
  parameters.AutoDepthStencilFormat = D3DFMT_D32F_LOCKABLE;
  parameters.Flags = 0;
  parameters.FullScreen_RefreshRateInHz = 0;
  parameters.PresentationInterval = D3DPRESENT_INTERVAL_IMMEDIATE;
  direct3D->CreateDevice(D3DADAPTER_DEFAULT, D3DDEVTYPE_HAL, window,
                         D3DCREATE_SOFTWARE_VERTEXPROCESSING, &parameters, &device);
  return device != nullptr;
}

void KV_APPLICATION::SetDeviceStates() {
  device->SetRenderState(D3DRS_ZENABLE, D3DZB_TRUE);
  device->SetRenderState(D3DRS_LIGHTING, FALSE);
  device->SetRenderState(D3DRS_SPECULARENABLE, TRUE);
  device->SetSamplerState(0, D3DSAMP_MAGFILTER, D3DTEXF_LINEAR);
  device->SetSamplerState(0, D3DSAMP_MINFILTER, D3DTEXF_LINEAR);
  device->SetSamplerState(0, D3DSAMP_MIPFILTER, D3DTEXF_LINEAR);
}

KV_MODEL* KV_APPLICATION::CreateModel(const char* file, D3DXVECTOR3 position, D3DXVECTOR3 rotation,
                                      D3DXVECTOR3 scale) {
  KV_MODEL* model = new KV_MODEL(device);
  model->Load(file);
  model->SetPosition(position.x, position.y, position.z);
  model->SetRotation(rotation.x, rotation.y, rotation.z);
  model->SetScale(scale.x, scale.y, scale.z);
  model->UpdateWorldMatrix();
  return model;
}

// The scene table, in its order: each emitter stands where the model carrying it stands.
void KV_APPLICATION::BuildScene() {
  const D3DXVECTOR3 none(0, 0, 0);
  const D3DXVECTOR3 unit(1, 1, 1);
  environmentModel = CreateModel("Data\\X\\environment.x", none, none, unit);

  firePitModel = CreateModel("Data\\X\\FirePit.x", D3DXVECTOR3(2.5f, 0, 0), none, unit);
  fireEmitter = new KV_FIRE_EMITTER(device, "Data\\Texture\\flame.png", 0xFFFF0000, 25);
  D3DXVECTOR3 p = firePitModel->GetPosition();
  fireEmitter->SetPosition(p.x, p.y, p.z);

  fountainModel = CreateModel("Data\\X\\Fountain.x", D3DXVECTOR3(-2.5f, 0.8f, 0), none, unit);
  fountainEmitter = new KV_FOUNTAIN_EMITTER(device, "Data\\Texture\\fountain.png", 0xFF0000FF, 25);
  p = fountainModel->GetPosition();
  fountainEmitter->SetPosition(p.x, p.y, p.z);

  headModel = CreateModel("Data\\X\\head.x", D3DXVECTOR3(11, 17, 17), D3DXVECTOR3(0, 45, 0),
                          D3DXVECTOR3(4, 4, 4));
  waterfallEmitter = new KV_WATERFALL_EMITTER(device, "Data\\Texture\\water.png", 0xFF0000FF, 75);
  p = headModel->GetPosition();
  waterfallEmitter->SetPosition(p.x, p.y, p.z);
}

void KV_APPLICATION::CreateCameras() {
  camera1 = new KV_CAMERA();
  camera1->SetPosition(D3DXVECTOR3(0, 5, -10));
  camera1->SetTarget(D3DXVECTOR3(0, 5, -9));
  camera2 = new KV_CAMERA();
  camera2->SetPosition(D3DXVECTOR3(2, 2, -5));
  camera2->SetTarget(D3DXVECTOR3(0, 5, -9));
}
