// A fire emitter with the shipped flame texture on a real device, filtered linearly: bright
// flames around the emitter, and nothing of the texture's key colour on the screen.
#include "particles/fire_emitter.h"
#include "particles/random_source.h"
#include "tests/support/device_fixture.h"

TEST_F(KvDeviceTest, FireDrawsBrightFlamesAndNoKeyColour) {
  Open();
  KvResetRandomSourceForTesting();
  D3DXMATRIX view, projection, identity;
  const D3DXVECTOR3 eye(0, 1, -5), at(0, 1, 0), up(0, 1, 0);
  D3DXMatrixLookAtLH(&view, &eye, &at, &up);
  D3DXMatrixPerspectiveFovLH(&projection, 3.1415927f / 2.5f, 1.3333334f, 0.01f, 500.0f);
  D3DXMatrixIdentity(&identity);
  device->SetTransform(D3DTS_VIEW, &view);
  device->SetTransform(D3DTS_PROJECTION, &projection);
  device->SetRenderState(D3DRS_LIGHTING, FALSE);
  device->SetRenderState(D3DRS_CULLMODE, D3DCULL_NONE);
  for (auto sampler : {D3DSAMP_MAGFILTER, D3DSAMP_MINFILTER, D3DSAMP_MIPFILTER}) {
    device->SetSamplerState(0, sampler, D3DTEXF_LINEAR);
  }
  auto* fire = new KV_FIRE_EMITTER(device, "Data\\Texture\\flame.png", 0xFFFF0000, 25);
  ASSERT_NE(fire->texture, nullptr) << "the shipped flame texture did not load";
  fire->SetPosition(0, 0, 0);
  for (int frame = 0; frame < 30; ++frame) {
    device->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0, 1.0f, 0);
    device->BeginScene();
    fire->SetCameraPosition(eye.x, eye.y, eye.z);
    fire->Render();
    device->EndScene();
  }
  delete fire;

  // Half a unit above the emitter: the screen centre's column, below the middle.
  D3DVIEWPORT9 viewport;
  device->GetViewport(&viewport);
  D3DXVECTOR3 middle(0, 0.5f, 0), screen;
  D3DXVec3Project(&screen, &middle, &viewport, &projection, &view, &identity);
  const std::vector<DWORD> pixels = ReadBack();
  int bright = 0;
  for (int y = int(screen.y) - 60; y < int(screen.y) + 60; ++y) {
    for (int x = int(screen.x) - 60; x < int(screen.x) + 60; ++x) {
      const DWORD p = Rgb(pixels[size_t(y) * 800 + size_t(x)]);
      bright += Channel(p, 16) + Channel(p, 8) > 300;
    }
  }
  EXPECT_GT(bright, 500) << "too few bright pixels around the fire";
  for (DWORD p : pixels) ASSERT_NE(Rgb(p), 0xFF0000u) << "the key colour reached the screen";
  EXPECT_EQ(Rgb(pixels[0]), 0u);  // far from the fire: the cleared black
}
