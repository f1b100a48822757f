// The device on a real OpenGL context: pixel centres, culling, the depth and alpha tests,
// additive blending, a buffer rewritten between gathered draws, and presenting the back buffer.
#include <array>
#include <string>
#include <tuple>

#include "platform/testing.h"
#include "tests/support/device_fixture.h"

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
    for (int x = 0; x < 800; x += 7)
      DrawQuad(x / 400.0f - 1.0f, -1.0f, (x + 1) / 400.0f - 1.0f, -0.5f, 0.1f, kBlue);
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

// Pixel centres lie at whole coordinates; a pixel is lit when its centre is inside a primitive
// or on its top or left edge. The triangle with corners on the centres of pixels (1, 1), (5, 1)
// and (1, 5) lights rows 1 to 4 from column 1 up to, not on, its long (right) edge: columns 1 to
// 4, 1 to 3, 1 and 2, then 1. The rectangle from centre (8, 1) to (11, 4) lights columns 8 to 10
// of rows 1 to 3. Centres half a pixel off would light one pixel fewer in each row of the triangle.
TEST_F(KvDeviceTest, PixelsLightWhereTheirCentreIsInsideOrOnATopOrLeftEdge) {
  Open();
  Clear(0xFF000000);
  const auto x = [](float pixels) { return pixels / 400.0f - 1.0f; };
  const auto y = [](float pixels) { return 1.0f - pixels / 300.0f; };
  IDirect3DVertexBuffer9* triangle = Buffer({{x(1), y(1), 0.5f, kGreen, 0, 0},
                                             {x(5), y(1), 0.5f, kGreen, 0, 0},
                                             {x(1), y(5), 0.5f, kGreen, 0, 0}});
  ASSERT_NE(triangle, nullptr);
  EXPECT_EQ(device->DrawPrimitive(D3DPT_TRIANGLELIST, 0, 1), D3D_OK);
  DrawQuad(x(8), y(4), x(11), y(1), 0.5f, kGreen);
  const std::vector<DWORD> pixels = ReadBack();
  std::string lit;
  for (int row = 0; row < 5; ++row) {
    for (int column = 0; column < 12; ++column) lit += Rgb(pixels[row * 800 + column]) ? '#' : '.';
    lit += '\n';
  }
  EXPECT_EQ(lit, "............\n.####...###.\n.###....###.\n.##.....###.\n.#..........\n");
}

TEST_F(KvDeviceTest, CullModesFollowTheWindingOnScreen) {
  Open();
  for (DWORD cull : {D3DCULL_NONE, D3DCULL_CCW, D3DCULL_CW}) {
    device->SetRenderState(D3DRS_CULLMODE, cull);
    Clear(0xFF000000);
    DrawQuad(-1.0f, -1.0f, 0.0f, 1.0f, 0.5f, kGreen);  // the left half, clockwise
    DrawQuad(1.0f, -1.0f, 0.0f, 1.0f, 0.5f, kGreen);  // the right half, mirrored: counter-clockwise
    EXPECT_EQ(std::pair(Pixel(200, 300), Pixel(600, 300)),
              std::pair(cull == D3DCULL_CW ? 0u : 0x00FF00u, cull == D3DCULL_CCW ? 0u : 0x00FF00u))
        << "cull " << cull;
  }
}

// Less-or-equal: a quad redrawn at the same depth replaces the colour, a farther one drawn later
// stays hidden, a nearer one shows.
TEST_F(KvDeviceTest, DepthTestPassesAtEqualDepthAndHidesFartherQuads) {
  Open();
  Clear(0xFF000000);
  for (auto [z, color, shown] : {std::tuple{0.5f, kRed, kRed},
                                 {0.5f, kGreen, kGreen},
                                 {0.501f, kBlue, kGreen},
                                 {0.499f, kBlue, kBlue}}) {
    DrawQuad(-0.5f, -0.5f, 0.5f, 0.5f, z, color);
    EXPECT_EQ(Pixel(400, 300), Rgb(shown)) << "depth " << z;
  }
}

// With the particles' states, white texels of alpha 7, 8 and 9 against a reference of 8, over
// (50, 100, 200): the texels that pass add alpha × white; those that fail are not drawn and
// write no depth, so an opaque blue quad behind, drawn later, is added (and clamps) there alone.
TEST_F(KvDeviceTest, AlphaTestAndAdditiveBlendAddOnlyTexelsThatPassAndTheRestLetThrough) {
  Open();
  IDirect3DTexture9* texture = nullptr;
  ASSERT_EQ(device->CreateTexture(3, 1, 1, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED, &texture, nullptr),
            D3D_OK);
  owned.push_back(texture);
  D3DLOCKED_RECT locked;
  ASSERT_EQ(texture->LockRect(0, &locked, nullptr, 0), D3D_OK);
  for (DWORD i = 0; i < 3; ++i) static_cast<DWORD*>(locked.pBits)[i] = (7 + i) << 24 | 0xFFFFFF;
  texture->UnlockRect(0);
  device->SetSamplerState(0, D3DSAMP_MAGFILTER, D3DTEXF_POINT);
  device->SetRenderState(D3DRS_ALPHATESTENABLE, TRUE);
  device->SetRenderState(D3DRS_ALPHAREF, 8);
  device->SetRenderState(D3DRS_ALPHABLENDENABLE, TRUE);
  device->SetRenderState(D3DRS_SRCBLEND, D3DBLEND_SRCALPHA);
  device->SetRenderState(D3DRS_DESTBLEND, D3DBLEND_ONE);
  const std::pair<DWORD, std::array<DWORD, 3>> cases[] = {
      {D3DCMP_GREATEREQUAL, {0x3264FF, 0x3A6CD0, 0x3B6DD1}},
      {D3DCMP_GREATER, {0x3264FF, 0x3264FF, 0x3B6DD1}}};
  for (const auto& [function, shown] : cases) {
    device->SetRenderState(D3DRS_ALPHAFUNC, function);
    Clear(0xFF3264C8);
    device->SetTexture(0, texture);
    DrawQuad(-0.75f, -0.5f, 0.75f, 0.5f, 0.2f, 0xFFFFFFFF);
    device->SetTexture(0, nullptr);
    DrawQuad(-0.75f, -0.5f, 0.75f, 0.5f, 0.6f, kBlue);
    for (int i = 0; i < 3; ++i)
      EXPECT_EQ(Pixel(200 + 200 * i, 300), shown[i])
          << "function " << function << ", alpha " << 7 + i;
  }
}

// Draws gathered into one: a buffer rewritten between two of them is read by each as it was when
// that draw was made.
TEST_F(KvDeviceTest, GatheredDrawsReadTheBufferAsItWasWhenEachWasMade) {
  Open();
  IDirect3DVertexBuffer9* buffer = Buffer({{-1.0f, -1, 0.5f, kRed, 0, 0},
                                           {-1.0f, 1, 0.5f, kRed, 0, 0},
                                           {-0.8f, -1, 0.5f, kRed, 0, 0},
                                           {-0.8f, 1, 0.5f, kRed, 0, 0}});
  ASSERT_NE(buffer, nullptr);
  Clear(0xFF000000);
  device->BeginScene();
  device->DrawPrimitive(D3DPT_TRIANGLESTRIP, 0, 2);
  KvTestVertex* vertices = nullptr;
  ASSERT_EQ(buffer->Lock(0, 0, reinterpret_cast<void**>(&vertices), 0), D3D_OK);
  for (int i = 0; i < 4; ++i) vertices[i].x += 0.5f, vertices[i].color = kGreen;
  buffer->Unlock();
  device->DrawPrimitive(D3DPT_TRIANGLESTRIP, 0, 2);
  device->EndScene();
  EXPECT_EQ(std::pair(Pixel(20, 300), Pixel(240, 300)), std::pair(0xFF0000u, 0x00FF00u));
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
  EXPECT_EQ(std::tuple(Pixel(600, 350), Pixel(200, 350), Pixel(600, 200)),
            std::tuple(0xFF0000u, 0x00FF00u, 0x00FF00u));
}

TEST_F(KvPresentTest, OnAnotherSizeItStretchesTheBackBufferTheRightWayUp) {
  Open(400, 300);
  DrawPattern();
  const std::vector<DWORD> picture = PresentAndRead(400, 300);
  EXPECT_EQ(Rgb(picture[75 * 400 + 100]), 0xFF0000u);
  EXPECT_EQ(Rgb(picture[75 * 400 + 300]), 0x00FF00u);
  EXPECT_EQ(Rgb(picture[150 * 400 + 100]), 0x00FF00u);
}

// Values whose 32-bit sums wrap round to small numbers are refused rather than drawn from far
// outside the buffers; a clear rectangle with extreme corners clears the back buffer and no
// more.
TEST_F(KvDeviceTest, ValidatingCallsRefuseValuesWhoseSumsWrap) {
  Open();
  IDirect3DVertexBuffer9* vertices = Buffer(std::vector<KvTestVertex>(4));
  IDirect3DIndexBuffer9* indices = nullptr;
  ASSERT_EQ(device->CreateIndexBuffer(12, 0, D3DFMT_INDEX16, D3DPOOL_MANAGED, &indices, nullptr),
            D3D_OK);
  owned.push_back(indices);
  device->SetIndices(indices);
  constexpr UINT kTop = 0xFFFFFFFFu;
  EXPECT_EQ(device->DrawIndexedPrimitive(D3DPT_TRIANGLELIST, 0, 0, 4, 0, 2), D3D_OK);
  EXPECT_EQ(device->DrawIndexedPrimitive(D3DPT_TRIANGLELIST, 0, 0, 4, kTop - 2, 1),
            D3DERR_INVALIDCALL);
  EXPECT_EQ(device->DrawIndexedPrimitive(D3DPT_TRIANGLELIST, 0x7FFFFFFF, 0x80000001u, 4, 0, 1),
            D3DERR_INVALIDCALL);
  EXPECT_EQ(device->DrawPrimitive(D3DPT_TRIANGLELIST, 0, 0x55555556u), D3DERR_INVALIDCALL);
  EXPECT_EQ(device->DrawPrimitive(D3DPT_LINELIST, 0, 0x80000001u), D3DERR_INVALIDCALL);
  EXPECT_EQ(device->DrawPrimitive(D3DPT_TRIANGLESTRIP, kTop - 1, 2), D3DERR_INVALIDCALL);
  device->SetStreamSource(0, vertices, 0, 0x80000000u);
  EXPECT_EQ(device->DrawPrimitive(D3DPT_POINTLIST, 0x20000000u, 1), D3DERR_INVALIDCALL);
  D3DVIEWPORT9 wide = {0xFFFFFF00u, 0, 0x200, 600, 0, 1}, tall = {0, 0xFFFFFF00u, 800, 0x200, 0, 1};
  EXPECT_EQ(device->SetViewport(&wide), D3DERR_INVALIDCALL);
  EXPECT_EQ(device->SetViewport(&tall), D3DERR_INVALIDCALL);
  const D3DRECT everything = {-0x7FFFFFFF - 1, -0x7FFFFFFF - 1, 0x7FFFFFFF, 0x7FFFFFFF};
  EXPECT_EQ(device->Clear(1, &everything, D3DCLEAR_TARGET, kBlue, 1.0f, 0), D3D_OK);
  EXPECT_EQ(std::pair(Pixel(0, 0), Pixel(799, 599)), std::pair(0x0000FFu, 0x0000FFu));
}
