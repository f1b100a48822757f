// Every render and sampler state the device honours, changed between two draws of one frame,
// shows in the second: also when the draws would otherwise be gathered, or an overlay frame is
// presented or a texture uploaded in between (both set OpenGL state behind the device's). The
// expected picture is the draw alone in a frame with the second value; the first gives another.
#include <algorithm>
#include <numeric>
#include <optional>

#include "platform/testing.h"
#include "tests/support/device_fixture.h"

namespace {

struct StateCase {
  const char* name;
  bool sampler;  // a sampler state of stage 0, or a render state
  DWORD state, first, second;
  bool minified = false;  // drawn with coordinates that shrink the texture rather than enlarge
};

constexpr StateCase kCases[] = {
    {"ALPHABLENDENABLE", false, D3DRS_ALPHABLENDENABLE, FALSE, TRUE},
    {"SRCBLEND", false, D3DRS_SRCBLEND, D3DBLEND_SRCALPHA, D3DBLEND_BLENDFACTOR},
    {"DESTBLEND", false, D3DRS_DESTBLEND, D3DBLEND_ONE, D3DBLEND_INVSRCALPHA},
    {"BLENDOP", false, D3DRS_BLENDOP, D3DBLENDOP_ADD, D3DBLENDOP_REVSUBTRACT},
    {"BLENDFACTOR", false, D3DRS_BLENDFACTOR, 0xFF204080, 0xFFC08020},
    {"COLORWRITEENABLE", false, D3DRS_COLORWRITEENABLE, 0xF, 0x5},
    {"ZENABLE", false, D3DRS_ZENABLE, D3DZB_TRUE, D3DZB_FALSE},
    {"ZFUNC", false, D3DRS_ZFUNC, D3DCMP_LESSEQUAL, D3DCMP_GREATER},
    {"ZWRITEENABLE", false, D3DRS_ZWRITEENABLE, TRUE, FALSE},
    {"CULLMODE", false, D3DRS_CULLMODE, D3DCULL_NONE, D3DCULL_CW},
    {"ALPHATESTENABLE", false, D3DRS_ALPHATESTENABLE, FALSE, TRUE},
    {"ALPHAFUNC", false, D3DRS_ALPHAFUNC, D3DCMP_GREATEREQUAL, D3DCMP_LESS},
    {"ALPHAREF", false, D3DRS_ALPHAREF, 40, 200},
    {"ADDRESSU", true, D3DSAMP_ADDRESSU, D3DTADDRESS_WRAP, D3DTADDRESS_CLAMP},
    {"ADDRESSV", true, D3DSAMP_ADDRESSV, D3DTADDRESS_WRAP, D3DTADDRESS_MIRROR},
    {"ADDRESSU border", true, D3DSAMP_ADDRESSU, D3DTADDRESS_WRAP, D3DTADDRESS_BORDER},
    {"MAGFILTER", true, D3DSAMP_MAGFILTER, D3DTEXF_POINT, D3DTEXF_LINEAR},
    {"MINFILTER", true, D3DSAMP_MINFILTER, D3DTEXF_POINT, D3DTEXF_LINEAR, true},
    {"MIPFILTER", true, D3DSAMP_MIPFILTER, D3DTEXF_NONE, D3DTEXF_LINEAR, true},
};

// What happens between the state change and the second draw.
enum class Between { kNothing, kOverlayFrame, kTextureUpload };

class KvStateChangeTest : public KvDeviceTest {
 protected:
  void SetUp() override {
    Open();
    texture = MakeTexture(64);
    other = MakeTexture(4);
    owned.insert(owned.end(), {texture, other});
    // Two strips over one texture: 1.5 repeats across a quad (enlarged), then 24 (shrunk);
    // below the top left corner, where the overlay is drawn.
    Buffer({{-0.4f, -0.6f, 0, 0xFFFFC080, -0.25f, 1.25f},
            {-0.4f, 0.6f, 0, 0xFFFFC080, -0.25f, -0.25f},
            {0.4f, -0.6f, 0, 0xFFFFC080, 1.25f, 1.25f},
            {0.4f, 0.6f, 0, 0xFFFFC080, 1.25f, -0.25f},
            {-0.4f, -0.6f, 0, 0xFFFFC080, 0, 24},
            {-0.4f, 0.6f, 0, 0xFFFFC080, 0, 0},
            {0.4f, -0.6f, 0, 0xFFFFC080, 24, 24},
            {0.4f, 0.6f, 0, 0xFFFFC080, 24, 0}});
    // States under which every case's change shows.
    device->SetTexture(0, texture);
    device->SetRenderState(D3DRS_ALPHABLENDENABLE, TRUE);
    device->SetRenderState(D3DRS_SRCBLEND, D3DBLEND_SRCALPHA);
    device->SetRenderState(D3DRS_DESTBLEND, D3DBLEND_BLENDFACTOR);
    device->SetRenderState(D3DRS_BLENDFACTOR, 0xFF204080);
    device->SetRenderState(D3DRS_ALPHATESTENABLE, TRUE);
    device->SetRenderState(D3DRS_ALPHAFUNC, D3DCMP_GREATEREQUAL);
    device->SetRenderState(D3DRS_ALPHAREF, 40);
    device->SetSamplerState(0, D3DSAMP_MINFILTER, D3DTEXF_LINEAR);
    device->SetSamplerState(0, D3DSAMP_MIPFILTER, D3DTEXF_POINT);
  }
  // A texture of size × size texels whose colours and alphas vary from texel to texel, with
  // every mip level its own.
  IDirect3DTexture9* MakeTexture(UINT size) {
    IDirect3DTexture9* made = nullptr;
    EXPECT_EQ(
        device->CreateTexture(size, size, 0, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED, &made, nullptr),
        D3D_OK);
    for (UINT level = 0; made && level < made->GetLevelCount(); ++level) Fill(made, level);
    return made;
  }
  static void Fill(IDirect3DTexture9* target, UINT level) {
    D3DSURFACE_DESC desc;
    D3DLOCKED_RECT locked;
    target->GetLevelDesc(level, &desc);
    ASSERT_EQ(target->LockRect(level, &locked, nullptr, 0), D3D_OK);
    auto* texels = static_cast<DWORD*>(locked.pBits);
    for (DWORD i = 0; i < desc.Width * desc.Height; ++i)
      texels[i] = (i * 2654435761u + level * 40503u) ^ (i * 97u << 20);
    target->UnlockRect(level);
  }

  // Draws the quad at clip x `centre` (through the world transform, so draws of both quads
  // read the same vertices and are gathered unless something splits them), and again behind
  // it, where depth writes decide whether it shows.
  void DrawQuadAt(float centre, bool minified) {
    D3DMATRIX world = {};
    world._11 = world._22 = world._33 = world._44 = 1.0f;
    world._41 = centre;
    for (float z : {0.5f, 0.7f}) {
      world._43 = z;
      device->SetTransform(D3DTS_WORLD, &world);
      device->DrawPrimitive(D3DPT_TRIANGLESTRIP, minified ? 4 : 0, 2);
    }
  }

  void Disturb(Between between) {
    if (between == Between::kOverlayFrame) {  // F3 shows the figures for one frame
      kv_testing::PressKey(VK_F3);
      device->EndScene();
      device->Present(nullptr, nullptr, nullptr, nullptr);
      kv_testing::ReleaseKey(VK_F3);
      kv_testing::PressKey(VK_F3), kv_testing::ReleaseKey(VK_F3);
      device->BeginScene();
    } else if (between == Between::kTextureUpload) {
      Fill(other, 0);
    }
  }

  // Sets the case's state to `value` and returns what it was.
  DWORD Set(const StateCase& c, DWORD value) {
    DWORD was = 0;
    if (c.sampler) {
      device->GetSamplerState(0, D3DSAMPLERSTATETYPE(c.state), &was);
      device->SetSamplerState(0, D3DSAMPLERSTATETYPE(c.state), value);
    } else {
      device->GetRenderState(D3DRENDERSTATETYPE(c.state), &was);
      device->SetRenderState(D3DRENDERSTATETYPE(c.state), value);
    }
    return was;
  }

  // A frame that draws the left quad with the value `left`, then the right one with `right`,
  // with `between` in between; a quad without a value is not drawn.
  std::vector<DWORD> Frame(const StateCase& c, std::optional<DWORD> left,
                           std::optional<DWORD> right, Between between = Between::kNothing) {
    Clear(0xFF3264C8);
    device->BeginScene();
    if (left) Set(c, *left), DrawQuadAt(-0.5f, c.minified);
    if (right) Set(c, *right), Disturb(between), DrawQuadAt(0.5f, c.minified);
    device->EndScene();
    return ReadBack();
  }

  IDirect3DTexture9* texture = nullptr;
  IDirect3DTexture9* other = nullptr;
};

// Pixels that differ below the top 100 rows, where the overlay frame's figures stay.
size_t Differing(const std::vector<DWORD>& a, const std::vector<DWORD>& b) {
  const size_t first = 100 * 800;
  return std::inner_product(a.begin() + first, a.end(), b.begin() + first, size_t{0}, std::plus<>(),
                            std::not_equal_to<>());
}

}  // namespace

TEST_F(KvStateChangeTest, AStateChangedBetweenTwoDrawsShowsInTheSecond) {
  for (const StateCase& c : kCases) {
    const DWORD before = Set(c, c.first);
    // The left half as the first value draws it alone, the right half as the second does.
    std::vector<DWORD> expected = Frame(c, c.first, {});
    const std::vector<DWORD> right = Frame(c, {}, c.second);
    ASSERT_GT(Differing(Frame(c, {}, c.first), right), 100u) << c.name << ": values draw alike";
    for (size_t row = 0; row < 600; ++row)
      std::copy_n(right.begin() + row * 800 + 400, 400, expected.begin() + row * 800 + 400);
    for (Between between : {Between::kNothing, Between::kOverlayFrame, Between::kTextureUpload})
      EXPECT_EQ(Differing(Frame(c, c.first, c.second, between), expected), 0u)
          << c.name << " with " << int(between) << " in between";
    Set(c, before);
  }
}

// An F3 frame draws the figures with the untextured, vertex-coloured program at OpenGL's own
// pixel centres, and presenting binds a vertex array of its own. The same program drawing
// after it keeps Direct3D's centres (edges half way between two show a pixel off otherwise), and
// an index buffer made after the Present is the one drawn, not the one bound before it.
TEST_F(KvDeviceTest, AfterAnOverlayFrameDrawsKeepTheirPixelCentresAndTheirIndexBuffer) {
  Open();
  const auto x = [](float pixels) { return pixels / 400.0f - 1.0f; };
  const auto y = [](float pixels) { return 1.0f - pixels / 300.0f; };
  std::vector<KvTestVertex> corners;
  for (float left : {101.5f, 501.5f}) {  // bottom left, top left, bottom right, top right
    for (auto [cx, cy] : {std::pair(0, 1), {0, 0}, {1, 1}, {1, 0}}) {
      corners.push_back({x(left + 199 * cx), y(201.5f + 199 * cy), 0.5f, 0xFF40C080, 0, 0});
    }
  }
  Buffer(corners);
  const auto quadIndices = [&](WORD f) {  // two triangles, clockwise on screen
    IDirect3DIndexBuffer9* made = nullptr;
    WORD* memory = nullptr;
    device->CreateIndexBuffer(12, 0, D3DFMT_INDEX16, D3DPOOL_MANAGED, &made, nullptr);
    EXPECT_EQ(made->Lock(0, 0, reinterpret_cast<void**>(&memory), 0), D3D_OK);
    for (int i : {0, 1, 2, 2, 1, 3}) *memory++ = WORD(f + i);
    made->Unlock();
    owned.push_back(made);
    return made;
  };
  const auto frame = [&](IDirect3DIndexBuffer9* indices) {
    Clear(0xFF000000);
    device->SetIndices(indices);
    device->DrawIndexedPrimitive(D3DPT_TRIANGLELIST, 0, 0, 8, 0, 2);
    return ReadBack();
  };
  const std::vector<DWORD> expected = frame(quadIndices(4));
  frame(quadIndices(0));
  kv_testing::PressKey(VK_F3), kv_testing::ReleaseKey(VK_F3);
  device->Present(nullptr, nullptr, nullptr, nullptr);
  kv_testing::PressKey(VK_F3), kv_testing::ReleaseKey(VK_F3);
  EXPECT_EQ(Differing(frame(quadIndices(4)), expected), 0u);
}
