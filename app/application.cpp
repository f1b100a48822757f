#include "app/application.h"

KV_APPLICATION::KV_APPLICATION(bool windowed_, int width_, int height_)
    : windowed(windowed_), width(width_), height(height_) {}

KV_APPLICATION::~KV_APPLICATION() = default;

// Releases the Direct3D interfaces first, then deletes the models, emitters and input whose
// resources hold the device until they go. The environment model and the cameras, which the
// release order leaves for the end of the process, are deleted last so nothing is leaked.
void KV_APPLICATION::Shutdown() {
  if (direct3D) {
    direct3D->Release();
    direct3D = nullptr;
  }
  if (device) {
    device->Release();
    device = nullptr;
  }
  if (headModel) delete headModel;
  if (firePitModel) delete firePitModel;
  if (fireEmitter) delete fireEmitter;
  if (fountainModel) delete fountainModel;
  if (fountainEmitter) delete fountainEmitter;
  if (waterfallEmitter) delete waterfallEmitter;
  if (input) delete input;
  if (environmentModel) delete environmentModel;
  if (camera1) delete camera1;
  if (camera2) delete camera2;
}
