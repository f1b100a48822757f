// Gathered draws on the device: a buffer rewritten between two draws is read by each draw as it
// was when that draw was made, and every kind of primitive gives the picture the draws give one
// at a time.
#include <algorithm>
#include <cstring>

#include "platform/testing.h"
#include "tests/support/device_fixture.h"

TEST_F(KvDeviceTest, GatheredDrawsReadTheBufferAsItWasWhenEachWasMade) {
  Open();
  auto quad = [](float x0, float x1, D3DCOLOR c) {
    return std::vector<KvTestVertex>{{x0, -1, 0.5f, c, 0, 0},
                                     {x0, 1, 0.5f, c, 0, 0},
                                     {x1, -1, 0.5f, c, 0, 0},
                                     {x1, 1, 0.5f, c, 0, 0}};
  };
  IDirect3DVertexBuffer9* buffer = Buffer(quad(-1.0f, -0.8f, 0xFFFF0000));
  ASSERT_NE(buffer, nullptr);
  Clear(0xFF000000);
  device->BeginScene();
  EXPECT_EQ(device->DrawPrimitive(D3DPT_TRIANGLESTRIP, 0, 2), D3D_OK);
  const std::vector<KvTestVertex> green = quad(-0.5f, -0.3f, 0xFF00FF00);
  void* memory = nullptr;
  ASSERT_EQ(buffer->Lock(0, 0, &memory, 0), D3D_OK);
  std::memcpy(memory, green.data(), green.size() * sizeof green[0]);
  buffer->Unlock();
  EXPECT_EQ(device->DrawPrimitive(D3DPT_TRIANGLESTRIP, 0, 2), D3D_OK);
  device->EndScene();
  EXPECT_EQ(Pixel(20, 300), 0xFF0000u);
  EXPECT_EQ(Pixel(240, 300), 0x00FF00u);
  device->SetStreamSource(0, nullptr, 0, 0);
  buffer->Release();
}

// Runs of every primitive type, each draw with its own world transform, give the picture the
// same draws give one at a time: strips and lists are expanded into one draw, other primitives
// go as one instanced draw.
TEST_F(KvDeviceTest, GatheredRunsOfEveryPrimitiveDrawAsOneAtATime) {
  Open();
  IDirect3DVertexBuffer9* buffer = Buffer({{-0.9f, -0.5f, 0.5f, 0xFF2040FF, 0, 0},
                                           {-0.9f, 0.5f, 0.5f, 0xFF40FF20, 0, 0},
                                           {-0.6f, -0.4f, 0.5f, 0xFFFF2040, 0, 0},
                                           {-0.7f, 0.6f, 0.5f, 0xFFFFFFFF, 0, 0}});
  ASSERT_NE(buffer, nullptr);
  device->SetRenderState(D3DRS_CULLMODE, D3DCULL_NONE);
  device->SetRenderState(D3DRS_ALPHABLENDENABLE, TRUE);  // overlaps show the order
  device->SetRenderState(D3DRS_SRCBLEND, D3DBLEND_SRCALPHA);
  device->SetRenderState(D3DRS_DESTBLEND, D3DBLEND_INVSRCALPHA);
  const std::pair<D3DPRIMITIVETYPE, UINT> kinds[] = {{D3DPT_TRIANGLESTRIP, 2},
                                                     {D3DPT_TRIANGLEFAN, 2},
                                                     {D3DPT_TRIANGLELIST, 1},
                                                     {D3DPT_LINESTRIP, 3},
                                                     {D3DPT_POINTLIST, 4}};
  for (auto [type, count] : kinds) {
    std::vector<DWORD> pictures[2];
    for (bool gathered : {true, false}) {
      kv_testing::SetDrawBatching(device, gathered);
      Clear(0xFF000000);
      device->BeginScene();
      for (float shift : {0.0f, 0.2f, 0.4f, 0.6f}) {
        D3DXMATRIX world;
        device->SetTransform(D3DTS_WORLD, D3DXMatrixTranslation(&world, shift, shift / 4, 0));
        device->DrawPrimitive(type, 0, count);
      }
      device->EndScene();
      pictures[gathered] = ReadBack();
    }
    EXPECT_EQ(pictures[0], pictures[1]) << "primitive type " << type;
    EXPECT_NE(std::count(pictures[1].begin(), pictures[1].end(), pictures[1][0]),
              std::ptrdiff_t(pictures[1].size()))
        << "nothing drawn, type " << type;
  }
  device->SetStreamSource(0, nullptr, 0, 0);
  buffer->Release();
}
