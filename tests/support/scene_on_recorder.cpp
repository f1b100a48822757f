#include "tests/support/scene_on_recorder.h"

KvSceneOnRecorder::KvSceneOnRecorder() : application(new KV_APPLICATION(true, 800, 600)) {
  KV_APPLICATION& a = *application;
  a.device = &recorder;
  a.environmentModel = new KV_MODEL(&recorder);
  a.headModel = new KV_MODEL(&recorder);
  a.firePitModel = new KV_MODEL(&recorder);
  a.firePitModel->SetPosition(2.5f, 0, 0);
  a.fountainModel = new KV_MODEL(&recorder);
  a.fountainModel->SetPosition(-2.5f, 0.8f, 0);
  a.fireEmitter = new KV_FIRE_EMITTER(&recorder, "missing.png", 0xFFFF0000, 2);
  a.fountainEmitter = new KV_FOUNTAIN_EMITTER(&recorder, "missing.png", 0xFF0000FF, 2);
  a.waterfallEmitter = new KV_WATERFALL_EMITTER(&recorder, "missing.png", 0xFF0000FF, 2);
  a.camera1 = new KV_CAMERA();
  a.camera1->SetPosition(D3DXVECTOR3(0, 5, -10));
  a.camera1->SetTarget(D3DXVECTOR3(0, 5, -9));
  a.camera2 = new KV_CAMERA();
  a.camera2->SetPosition(D3DXVECTOR3(2, 2, -5));
  a.camera2->SetTarget(D3DXVECTOR3(0, 5, -9));
  a.activeCamera = &a.camera1;
}

KvSceneOnRecorder::~KvSceneOnRecorder() {
  application->device = nullptr;  // the recorder is not the application's to release
  application->Shutdown();
}
