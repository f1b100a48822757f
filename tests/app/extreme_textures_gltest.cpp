// Extreme texture sizes for a mesh and a particle on a real device: each draws in its colour or,
// beyond the loader's limits, fails cleanly and draws untextured; its owner frees it and the
// device.
#include "particles/fire_emitter.h"
#include "scene/model.h"
#include "tests/support/device_fixture.h"
#include "tests/support/fault_checks.h"
#include "tests/support/image_files.h"
#include "tests/support/x_files.h"

TEST_F(KvDeviceTest, ExtremeTextureSizesLoadDrawAndAreFreed) {
  Open();
  // The camera looks at the centre of the mesh's triangle, which lands mid-screen.
  D3DXMATRIX view, projection, identity;
  const D3DXVECTOR3 eye(1 / 3.0f, 1 / 3.0f, -3), at(1 / 3.0f, 1 / 3.0f, 0), up(0, 1, 0);
  device->SetTransform(D3DTS_VIEW, D3DXMatrixLookAtLH(&view, &eye, &at, &up));
  device->SetTransform(D3DTS_PROJECTION,
                       D3DXMatrixPerspectiveFovLH(&projection, 1.2566371f, 4 / 3.0f, 0.01f, 500));
  device->SetRenderState(D3DRS_LIGHTING, FALSE);
  D3DVIEWPORT9 viewport;
  device->GetViewport(&viewport);
  D3DXVECTOR3 fire(0, 0.5f, 0);  // where the flames burn
  D3DXVec3Project(&fire, &fire, &viewport, &projection, &view, D3DXMatrixIdentity(&identity));
  const auto drawFrame = [&](auto* drawn) {
    Clear(0);
    device->BeginScene();
    drawn->Render();
    device->EndScene();
    device->Present(nullptr, nullptr, nullptr, nullptr);
  };
  const auto references = [&] { return device->AddRef(), device->Release(); };

  KvTempFolder folder;
  const std::string png = folder.Path("texture.png"), meshFile = folder.Path("mesh.x");
  const struct {
    int width, height;
    DWORD rgb;
    bool mayFail;  // a texture this large may be refused
  } textures[] = {
      {1, 1, 0x20C040, false}, {8192, 1, 0xC08020, false}, {8192, 8192, 0x4060E0, true}};
  for (const auto& t : textures) {
    SCOPED_TRACE(std::to_string(t.width) + " x " + std::to_string(t.height));
    KvWriteSolidPng(png, t.width, t.height, t.rgb);
    KvWriteMaterialsX(meshFile, {png});
    const ULONG before = references();

    auto* model = new KV_MODEL(device);
    model->Load(meshFile.c_str());
    ASSERT_NE(model->mesh, nullptr);
    const bool loaded = model->textures[0] != nullptr;
    EXPECT_TRUE(loaded || t.mayFail);
    drawFrame(model);
    const DWORD drawn = Pixel(400, 300);
    const DWORD expected = loaded ? t.rgb : 0xFFFFFF;  // untextured: the white vertex colour
    for (int shift : {16, 8, 0}) EXPECT_NEAR(Channel(drawn, shift), Channel(expected, shift), 2);

    auto* emitter = new KV_FIRE_EMITTER(device, png.c_str(), 0xFFFF0000, 25);
    EXPECT_EQ(emitter->texture != nullptr, loaded);
    emitter->SetCameraPosition(eye.x, eye.y, eye.z);
    for (int frame = 0; frame < 5; ++frame) drawFrame(emitter);
    const std::vector<DWORD> pixels = ReadBack();
    int lit = 0;
    for (int i = 0; i < 100 * 100; ++i)  // the 100 × 100 pixels around the fire
      lit += Rgb(pixels[(int(fire.y) - 50 + i / 100) * 800 + int(fire.x) - 50 + i % 100]) != 0;
    EXPECT_GT(lit, 1000) << "the flames did not show";
    delete emitter;
    delete model;
    EXPECT_EQ(references(), before) << "a texture or buffer still holds the device";
  }
}
