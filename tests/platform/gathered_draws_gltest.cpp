// Gathered draws on the device: each draw keeps its own transform, a buffer rewritten
// between two draws is read by each draw as it was when that draw was made, and every kind
// of primitive gives the picture the draws give one at a time.
#include <algorithm>
#include <cstring>

#include "platform/testing.h"
#include "tests/support/device_fixture.h"

namespace {

void Fill(IDirect3DVertexBuffer9* buffer, const KvTestVertex* vertices, UINT bytes) {
  void* memory = nullptr;
  ASSERT_EQ(buffer->Lock(0, bytes, &memory, 0), D3D_OK);
  std::memcpy(memory, vertices, bytes);
  buffer->Unlock();
}

// A clip-space quad as a strip, [x0, x1] × [-1, 1].
void WriteQuad(IDirect3DVertexBuffer9* buffer, float x0, float x1, D3DCOLOR color) {
  const KvTestVertex quad[] = {{x0, -1, 0.5f, color, 0, 0},
                               {x0, 1, 0.5f, color, 0, 0},
                               {x1, -1, 0.5f, color, 0, 0},
                               {x1, 1, 0.5f, color, 0, 0}};
  Fill(buffer, quad, sizeof quad);
}

}  // namespace

TEST_F(KvDeviceTest, GatheredDrawsKeepTheirTransformsAndTheBufferAsItWas) {
  Open();
  IDirect3DVertexBuffer9* buffer = nullptr;
  ASSERT_EQ(device->CreateVertexBuffer(4 * sizeof(KvTestVertex), 0, kTestVertexFvf, D3DPOOL_DEFAULT,
                                       &buffer, nullptr),
            D3D_OK);
  device->SetRenderState(D3DRS_CULLMODE, D3DCULL_NONE);
  device->SetFVF(kTestVertexFvf);
  device->SetStreamSource(0, buffer, 0, sizeof(KvTestVertex));
  device->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0xFF000000, 1.0f, 0);
  device->BeginScene();

  // The same quad three times, moved by the world transform: red at the left edge, in the
  // middle and at the right edge.
  WriteQuad(buffer, -1.0f, -0.8f, 0xFFFF0000);
  for (float shift : {0.0f, 0.9f, 1.8f}) {
    D3DXMATRIX world;
    D3DXMatrixTranslation(&world, shift, 0, 0);
    device->SetTransform(D3DTS_WORLD, &world);
    EXPECT_EQ(device->DrawPrimitive(D3DPT_TRIANGLESTRIP, 0, 2), D3D_OK);
  }
  // The buffer rewritten as a green quad, then the same draw again: the red quads stay red.
  D3DXMATRIX identity;
  D3DXMatrixIdentity(&identity);
  device->SetTransform(D3DTS_WORLD, &identity);
  WriteQuad(buffer, -0.5f, -0.3f, 0xFF00FF00);
  EXPECT_EQ(device->DrawPrimitive(D3DPT_TRIANGLESTRIP, 0, 2), D3D_OK);
  device->EndScene();

  EXPECT_EQ(Pixel(20, 300), 0xFF0000u);   // x = -0.95
  EXPECT_EQ(Pixel(380, 300), 0xFF0000u);  // x = -0.05
  EXPECT_EQ(Pixel(780, 300), 0xFF0000u);  // x = 0.95
  EXPECT_EQ(Pixel(240, 300), 0x00FF00u);  // x = -0.4
  EXPECT_EQ(Pixel(160, 300), 0x000000u);  // between them, nothing
  device->SetStreamSource(0, nullptr, 0, 0);
  buffer->Release();
}

// Runs of every primitive type give the picture the same draws give one at a time: strips
// and lists are expanded into one draw, other primitives go as one instanced draw.
TEST_F(KvDeviceTest, GatheredRunsOfEveryPrimitiveDrawAsOneAtATime) {
  Open();
  const KvTestVertex shape[] = {{-0.9f, -0.5f, 0.5f, 0xFF2040FF, 0, 0},
                                {-0.9f, 0.5f, 0.5f, 0xFF40FF20, 0, 0},
                                {-0.6f, -0.4f, 0.5f, 0xFFFF2040, 0, 0},
                                {-0.7f, 0.6f, 0.5f, 0xFFFFFFFF, 0, 0}};
  IDirect3DVertexBuffer9* buffer = nullptr;
  ASSERT_EQ(device->CreateVertexBuffer(sizeof shape, 0, kTestVertexFvf, D3DPOOL_DEFAULT, &buffer,
                                       nullptr),
            D3D_OK);
  Fill(buffer, shape, sizeof shape);
  device->SetRenderState(D3DRS_CULLMODE, D3DCULL_NONE);
  device->SetRenderState(D3DRS_ALPHABLENDENABLE, TRUE);  // overlaps show the order
  device->SetRenderState(D3DRS_SRCBLEND, D3DBLEND_SRCALPHA);
  device->SetRenderState(D3DRS_DESTBLEND, D3DBLEND_INVSRCALPHA);
  device->SetFVF(kTestVertexFvf);
  device->SetStreamSource(0, buffer, 0, sizeof(KvTestVertex));
  const std::pair<D3DPRIMITIVETYPE, UINT> kinds[] = {{D3DPT_TRIANGLESTRIP, 2},
                                                     {D3DPT_TRIANGLEFAN, 2},
                                                     {D3DPT_TRIANGLELIST, 1},
                                                     {D3DPT_LINESTRIP, 3},
                                                     {D3DPT_POINTLIST, 4}};
  for (auto [type, count] : kinds) {
    std::vector<DWORD> pictures[2];
    for (bool gathered : {true, false}) {
      kv_testing::SetDrawBatching(device, gathered);
      device->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0xFF000000, 1.0f, 0);
      device->BeginScene();
      for (float shift : {0.0f, 0.2f, 0.4f, 0.6f}) {
        D3DXMATRIX world;
        D3DXMatrixTranslation(&world, shift, shift / 4, 0);
        device->SetTransform(D3DTS_WORLD, &world);
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
