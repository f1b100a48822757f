// Texture levels made with the filter asked for, read back from the device.
#include <utility>
#include <vector>

#include "tests/support/device_fixture.h"
#include "tests/support/image_files.h"

namespace {

class KvTextureFilterTest : public KvDeviceTest {
 protected:
  // The texture's levels, loaded from a BMP of the given texels at the size asked for.
  std::vector<std::vector<DWORD>> Levels(int width, int height, const std::vector<DWORD>& texels,
                                         std::pair<UINT, UINT> size, DWORD mipFilter) {
    KvWriteBmp(folder.Path("t.bmp"), width, height, texels);
    IDirect3DTexture9* texture = nullptr;
    EXPECT_EQ(D3DXCreateTextureFromFileExA(device, folder.Path("t.bmp").c_str(), size.first,
                                           size.second, D3DX_DEFAULT, 0, D3DFMT_A8R8G8B8,
                                           D3DPOOL_MANAGED, D3DX_FILTER_TRIANGLE, mipFilter, 0,
                                           nullptr, nullptr, &texture),
              D3D_OK);
    std::vector<std::vector<DWORD>> levels;
    for (UINT i = 0; texture && i < texture->GetLevelCount(); ++i) {
      D3DSURFACE_DESC desc;
      D3DLOCKED_RECT locked;
      texture->GetLevelDesc(i, &desc);
      texture->LockRect(i, &locked, nullptr, D3DLOCK_READONLY);
      const DWORD* bits = static_cast<const DWORD*>(locked.pBits);
      levels.emplace_back(bits, bits + desc.Width * desc.Height);
      texture->UnlockRect(i);
    }
    if (texture) texture->Release();
    return levels;
  }
  KvTempFolder folder;
};

}  // namespace

// 4 × 4 black but for green at (1, 2) and red at (3, 3). Halving, the triangle filter weighs per
// axis the four source texels around the two beneath a target texel 1/8, 3/8, 3/8, 1/8; a tap
// past the edge reads the edge texel. Column 1 counts 3/8 to x 0 and 1/8 to x 1, row 2 counts
// 1/8 to y 0 and 3/8 to y 1: green 255 × 3/64 = 12, × 1/64 = 4, × 9/64 = 36, × 3/64 = 12. Column
// 3 counts 3/8 + 1/8 (the clamped tap 4) = 1/2 to x 1, row 3 the same to y 1: red 255 / 4 = 64
// at (1, 1). The box averages each 2 × 2 block; the point filter takes texel (3, 3) for (1, 1).
TEST_F(KvTextureFilterTest, LevelOneIsFilteredAsTheMipFilterAsks) {
  Open();
  std::vector<DWORD> texels(16, 0xFF000000);
  texels[2 * 4 + 1] = 0xFF00FF00;
  texels[3 * 4 + 3] = 0xFFFF0000;
  const std::pair size{D3DX_DEFAULT, D3DX_DEFAULT};
  const std::pair<DWORD, std::vector<DWORD>> cases[] = {
      {D3DX_FILTER_TRIANGLE, {0xFF000C00, 0xFF000400, 0xFF002400, 0xFF400C00}},
      {D3DX_FILTER_BOX, {0xFF000000, 0xFF000000, 0xFF004000, 0xFF400000}},
      {D3DX_FILTER_POINT, {0xFF000000, 0xFF000000, 0xFF000000, 0xFFFF0000}},
  };
  for (const auto& [filter, level1] : cases) {
    const auto levels = Levels(4, 4, texels, size, filter);
    ASSERT_EQ(levels.size(), 3u);
    EXPECT_EQ(levels[1], level1) << filter;
  }
}

// A 3 × 2 image made 5 × 3, then 2 × 1 and 1 × 1: the weights at every edge still sum to 1.
TEST_F(KvTextureFilterTest, OddAndUnequalSidesKeepAUniformColour) {
  Open();
  const auto levels = Levels(3, 2, std::vector<DWORD>(6, 0xFF336699), {5, 3}, D3DX_FILTER_TRIANGLE);
  ASSERT_EQ(levels.size(), 3u);
  for (const auto& level : levels) EXPECT_EQ(level, std::vector<DWORD>(level.size(), 0xFF336699));
  EXPECT_EQ(levels[1].size(), 2u);
}
