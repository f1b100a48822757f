// The device on a real OpenGL context: default states, blending, culling, depth, colour-keyed
// textures, and presenting the back buffer.
#include "platform/testing.h"
#include "tests/support/device_fixture.h"
#include "tests/support/image_files.h"

namespace {

constexpr D3DCOLOR kRed = 0xFFFF0000;
constexpr D3DCOLOR kGreen = 0xFF00FF00;
constexpr D3DCOLOR kBlue = 0xFF0000FF;

class KvPresentTest : public KvDeviceTest {
 protected:
  // Green with a red top left quarter and a blue column every 7 pixels in the bottom quarter.
  void DrawPattern() {
    Clear(0xFF000000);
    DrawQuad(-1.0f, -1.0f, 1.0f, 1.0f, 0.5f, kGreen);
    DrawQuad(-1.0f, 0.0f, 0.0f, 1.0f, 0.25f, kRed);
    for (int x = 0; x < 800; x += 7) {
      DrawQuad(x / 400.0f - 1.0f, -1.0f, (x + 1) / 400.0f - 1.0f, -0.5f, 0.1f, kBlue);
    }
  }

  // Presents and returns the picture on the window, expected to be width × height.
  std::vector<DWORD> PresentAndRead(UINT width, UINT height) {
    kv_testing::KeepPresentedPictures(true);
    device->Present(nullptr, nullptr, nullptr, nullptr);
    std::vector<DWORD> picture;
    UINT shownWidth = 0, shownHeight = 0;
    EXPECT_TRUE(kv_testing::ReadPresentedPicture(device, picture, shownWidth, shownHeight));
    kv_testing::KeepPresentedPictures(false);
    EXPECT_EQ(std::pair(shownWidth, shownHeight), std::pair(width, height));
    picture.resize(size_t(width) * height);
    return picture;
  }
};

}  // namespace

TEST_F(KvDeviceTest, RenderStatesStartAtTheDefaults) {
  Open();
  const std::pair<D3DRENDERSTATETYPE, DWORD> defaults[] = {
      {D3DRS_ZENABLE, D3DZB_TRUE},      {D3DRS_ZWRITEENABLE, TRUE},
      {D3DRS_CULLMODE, D3DCULL_CCW},    {D3DRS_LIGHTING, TRUE},
      {D3DRS_SRCBLEND, D3DBLEND_ONE},   {D3DRS_DESTBLEND, D3DBLEND_ZERO},
      {D3DRS_ALPHAFUNC, D3DCMP_ALWAYS}, {D3DRS_ALPHATESTENABLE, FALSE},
      {D3DRS_ALPHABLENDENABLE, FALSE},  {D3DRS_SPECULARENABLE, FALSE},
      {D3DRS_ZFUNC, D3DCMP_LESSEQUAL},  {D3DRS_COLORWRITEENABLE, 0xF}};
  for (auto [state, value] : defaults) {
    DWORD read = 0xDEAD;
    EXPECT_EQ(device->GetRenderState(state, &read), D3D_OK);
    EXPECT_EQ(read, value) << "state " << state;
  }
}

TEST_F(KvDeviceTest, AdditiveBlendAddsTheQuadToTheBackground) {
  Open();
  Clear(0xFF3264C8);  // (50, 100, 200)
  device->SetRenderState(D3DRS_ALPHABLENDENABLE, TRUE);
  device->SetRenderState(D3DRS_SRCBLEND, D3DBLEND_SRCALPHA);
  device->SetRenderState(D3DRS_DESTBLEND, D3DBLEND_ONE);
  DrawQuad(-0.5f, -0.5f, 0.5f, 0.5f, 0.5f, 0xFF646464);    // (100, 100, 100), opaque
  DrawQuad(-1.0f, -1.0f, -0.6f, -0.6f, 0.5f, 0x80646464);  // half alpha
  const DWORD centre = Pixel(400, 300);
  EXPECT_NEAR(Channel(centre, 16), 150, 1);
  EXPECT_NEAR(Channel(centre, 8), 200, 1);
  EXPECT_EQ(Channel(centre, 0), 255);                // 300 clamps
  EXPECT_NEAR(Channel(Pixel(20, 580), 16), 100, 2);  // half of 100 added
  EXPECT_EQ(Pixel(20, 20), 0x3264C8u);
}

TEST_F(KvDeviceTest, CullModesFollowTheWindingOnScreen) {
  Open();
  // Bottom left, top, bottom right: clockwise as seen on the screen.
  const std::vector<KvTestVertex> clockwise = {{-0.5f, -0.5f, 0.5f, kGreen, 0, 0},
                                               {0.0f, 0.5f, 0.5f, kGreen, 0, 0},
                                               {0.5f, -0.5f, 0.5f, kGreen, 0, 0}};
  const std::vector<KvTestVertex> counterClockwise = {clockwise[0], clockwise[2], clockwise[1]};
  for (DWORD cull : {D3DCULL_NONE, D3DCULL_CCW, D3DCULL_CW}) {
    device->SetRenderState(D3DRS_CULLMODE, cull);
    Clear(0xFF000000);
    Draw(D3DPT_TRIANGLELIST, clockwise);
    EXPECT_EQ(Pixel(400, 320) == 0x00FF00u, cull != D3DCULL_CW) << "clockwise, cull " << cull;
    Clear(0xFF000000);
    Draw(D3DPT_TRIANGLELIST, counterClockwise);
    EXPECT_EQ(Pixel(400, 320) == 0x00FF00u, cull != D3DCULL_CCW) << "counter, cull " << cull;
  }
}

TEST_F(KvDeviceTest, NearerQuadHidesAFartherOneDrawnLater) {
  Open();
  device->SetRenderState(D3DRS_CULLMODE, D3DCULL_NONE);
  Clear(0xFF000000);
  DrawQuad(-0.5f, -0.5f, 0.5f, 0.5f, 0.2f, kRed);
  DrawQuad(-0.8f, -0.8f, 0.8f, 0.8f, 0.6f, kGreen);
  EXPECT_EQ(Pixel(400, 300), 0xFF0000u);
  EXPECT_EQ(Pixel(100, 300), 0x00FF00u);
  device->SetRenderState(D3DRS_ZENABLE, D3DZB_FALSE);
  DrawQuad(-0.8f, -0.8f, 0.8f, 0.8f, 0.6f, kBlue);
  EXPECT_EQ(Pixel(400, 300), 0x0000FFu);
}

TEST_F(KvDeviceTest, KeyedTexelsAreNotDrawnAndWriteNoDepth) {
  Open();
  // 16 × 16: key-red with a green 8 × 8 square in the middle.
  std::vector<DWORD> texels(16 * 16, kRed);
  for (int i = 0; i < 64; ++i) texels[(4 + i / 8) * 16 + 4 + i % 8] = kGreen;
  KvTempFolder folder;
  KvWriteBmp(folder.Path("keyed.bmp"), 16, 16, texels);
  IDirect3DTexture9* texture = nullptr;
  ASSERT_EQ(D3DXCreateTextureFromFileExA(device, folder.Path("keyed.bmp").c_str(), D3DX_DEFAULT,
                                         D3DX_DEFAULT, D3DX_DEFAULT, 0, D3DFMT_A8R8G8B8,
                                         D3DPOOL_MANAGED, D3DX_FILTER_TRIANGLE,
                                         D3DX_FILTER_TRIANGLE, kRed, nullptr, nullptr, &texture),
            D3D_OK);
  EXPECT_EQ(texture->GetLevelCount(), 5u);  // 16, 8, 4, 2, 1
  device->SetRenderState(D3DRS_CULLMODE, D3DCULL_NONE);
  device->SetRenderState(D3DRS_ALPHATESTENABLE, TRUE);  // as the particles use it
  device->SetRenderState(D3DRS_ALPHAREF, 8);
  device->SetRenderState(D3DRS_ALPHAFUNC, D3DCMP_GREATEREQUAL);
  device->SetSamplerState(0, D3DSAMP_MAGFILTER, D3DTEXF_POINT);
  device->SetSamplerState(0, D3DSAMP_MINFILTER, D3DTEXF_POINT);
  Clear(0xFF000000);
  device->SetTexture(0, texture);
  DrawQuad(-0.5f, -0.5f, 0.5f, 0.5f, 0.2f, 0xFFFFFFFF);  // nearer, with keyed holes
  device->SetTexture(0, nullptr);
  DrawQuad(-0.5f, -0.5f, 0.5f, 0.5f, 0.6f, kBlue);  // farther, drawn later
  EXPECT_EQ(Pixel(400, 300), 0x00FF00u);            // the texture's green square
  EXPECT_EQ(Pixel(220, 170), 0x0000FFu);            // keyed border: the far quad shows
  for (DWORD p : ReadBack()) ASSERT_NE(Rgb(p), 0xFF0000u) << "a keyed texel was drawn";
  texture->Release();
}

// Present draws the back buffer onto the window with its own program and state; the device's
// state is in force again for the draws that follow.
TEST_F(KvPresentTest, AtTheBackBufferSizeItShowsItPixelForPixelAndKeepsTheDeviceState) {
  Open();
  DrawPattern();
  const std::vector<DWORD> picture = PresentAndRead(800, 600);
  const std::vector<DWORD> backBuffer = ReadBack();
  for (size_t i = 0; i < picture.size(); ++i) ASSERT_EQ(Rgb(picture[i]), Rgb(backBuffer[i])) << i;
  DrawQuad(0.0f, -0.5f, 1.0f, 0.0f, 0.75f, kBlue);  // behind the green: depth test still on
  DrawQuad(0.0f, -0.5f, 1.0f, 0.0f, 0.2f, kRed);
  EXPECT_EQ(Pixel(600, 350), 0xFF0000u);
  EXPECT_EQ(Pixel(200, 350), 0x00FF00u);
  EXPECT_EQ(Pixel(600, 200), 0x00FF00u);
}

TEST_F(KvPresentTest, OnAnotherSizeItStretchesTheBackBufferTheRightWayUp) {
  Open(400, 300);
  DrawPattern();
  const std::vector<DWORD> picture = PresentAndRead(400, 300);
  EXPECT_EQ(Rgb(picture[75 * 400 + 100]), 0xFF0000u);
  EXPECT_EQ(Rgb(picture[75 * 400 + 300]), 0x00FF00u);
  EXPECT_EQ(Rgb(picture[150 * 400 + 100]), 0x00FF00u);
}
