#include "tests/support/stress_scene.h"

namespace {

template <class Emitter>
void Remake(Emitter*& emitter, IDirect3DDevice9* device, const char* texture, D3DCOLOR key,
            UINT count) {
  const D3DXVECTOR3 position = emitter ? emitter->position : D3DXVECTOR3(0, 0, 0);
  delete emitter;
  emitter = new Emitter(device, texture, key, count);
  emitter->SetPosition(position.x, position.y, position.z);
}

}  // namespace

void KvScaleEmitterPools(KV_APPLICATION& app, int factor) {
  const UINT scale = UINT(factor);
  Remake(app.fireEmitter, app.device, "Data\\Texture\\flame.png", 0xFFFF0000, 25 * scale);
  Remake(app.fountainEmitter, app.device, "Data\\Texture\\fountain.png", 0xFF0000FF, 25 * scale);
  Remake(app.waterfallEmitter, app.device, "Data\\Texture\\water.png", 0xFF0000FF, 75 * scale);
}
