// The device-free half of texture loading: keying, rounding, filtered levels and the size limits.
#include "platform/image/image_decode.h"

#include <gtest/gtest.h>

#include <vector>

#include "platform/d3dx9.h"
#include "tests/support/image_files.h"

namespace {

constexpr D3DCOLOR kRed = 0xFFFF0000;
constexpr D3DCOLOR kBlue = 0xFF0000FF;
constexpr KvImageStatus kOk = KvImageStatus::kOk, kBad = KvImageStatus::kBadFile;

KvImageStatus Decode(const std::vector<unsigned char>& file, UINT width, UINT height, UINT levels,
                     D3DCOLOR key, KvTextureImage& out, const KvImageLimits& limits = {},
                     const KvImageFilters& filters = {}) {
  return KvDecodeTextureImage(file.data(), file.size(), width, height, levels, key, out, limits,
                              filters);
}

TEST(TextureDecode, KeysTexelsThenRoundsUpAndHalvesToOneTexel) {
  // 3 × 2: red except one blue texel at (1, 0).
  const std::vector<unsigned char> file = KvBmpBytes(3, 2, {kRed, kBlue, kRed, kRed, kRed, kRed});
  KvTextureImage keyed;
  ASSERT_EQ(Decode(file, D3DX_DEFAULT, D3DX_DEFAULT, D3DX_DEFAULT, kRed, keyed), kOk);
  EXPECT_EQ(std::pair(keyed.sourceWidth, keyed.sourceHeight), std::pair(3u, 2u));
  ASSERT_EQ(keyed.levels.size(), 3u);  // 4 × 2, 2 × 1, 1 × 1
  EXPECT_EQ(std::pair(keyed.levels[0].width, keyed.levels[0].height), std::pair(4u, 2u));
  // Rounding up interpolates between the nearest source columns, keyed ones as transparent
  // black: target columns 1 and 2 centre ⅝ of the way to and from source column 1, ⅝ blue.
  constexpr DWORD kBlue58 = 0x9F00009F;  // 255 × ⅝ = 159.4
  EXPECT_EQ(keyed.levels[0].texels, (std::vector<DWORD>{0, kBlue58, kBlue58, 0, 0, 0, 0, 0}));
  EXPECT_EQ(keyed.levels[1].texels, (std::vector<DWORD>{0x28000028, 0x28000028}));  // 159 / 4
  EXPECT_EQ(keyed.levels[2].texels, std::vector<DWORD>{0x28000028});

  KvTextureImage unkeyed;  // a key of 0 keys nothing
  ASSERT_EQ(Decode(file, 0, 0, 0, 0, unkeyed), kOk);
  EXPECT_EQ(unkeyed.levels[0].texels[0], kRed);
  EXPECT_EQ(unkeyed.levels[2].texels[0] >> 24, 0xFFu);
}

// Through the triangle filter, which clamps its taps at the edges: odd and unequal sides too.
TEST(TextureDecode, AskedSizesAndLevelCountsKeepAUniformColour) {
  constexpr D3DCOLOR kTeal = 0xFF336699;  // no channel at an end, where rounding would clamp
  const std::vector<unsigned char> file = KvBmpBytes(2, 2, {kTeal, kTeal, kTeal, kTeal});
  const struct {
    UINT width, height, levels;
    std::vector<UINT> sides;  // width, height per level
  } cases[] = {
      {8, 8, 2, {8, 8, 4, 4}},
      {8, 2, 10, {8, 2, 4, 1, 2, 1, 1, 1}},
      {1, 1, D3DX_DEFAULT, {1, 1}},
      {5, 3, 0, {5, 3, 2, 1, 1, 1}},
  };
  const KvImageFilters triangle{KvImageFilter::kTriangle, KvImageFilter::kTriangle};
  for (const auto& c : cases) {
    KvTextureImage image;
    ASSERT_EQ(Decode(file, c.width, c.height, c.levels, 0, image, {}, triangle), kOk);
    std::vector<UINT> sides;
    for (const KvImage& level : image.levels) {
      sides.insert(sides.end(), {level.width, level.height});
      EXPECT_EQ(level.texels, std::vector<DWORD>(level.width * level.height, kTeal));
    }
    EXPECT_EQ(sides, c.sides) << c.width << " x " << c.height << ", " << c.levels << " levels";
  }
}

// 4 × 4 black but green at (1, 2), red at (3, 3). Halving, the triangle filter weighs per axis
// the four texels around the two beneath a target texel 1/8, 3/8, 3/8, 1/8, a tap past the edge
// reading the edge texel. Green: column 1 counts 3/8 to x 0, 1/8 to x 1; row 2 1/8 to y 0, 3/8 to
// y 1; so 255 × 3/64 = 12, 1/64 → 4, 9/64 → 36, 3/64 → 12. Red: column and row 3 count 3/8 + 1/8
// (tap 4, clamped) to texel 1: 255 / 4 = 64. Box: 2 × 2 means; point: texel (3, 3) for (1, 1).
TEST(TextureDecode, LevelOneIsFilteredAsTheMipFilterAsks) {
  std::vector<DWORD> texels(16, 0xFF000000);
  texels[2 * 4 + 1] = 0xFF00FF00;
  texels[3 * 4 + 3] = kRed;
  const std::pair<KvImageFilter, std::vector<DWORD>> cases[] = {
      {KvImageFilter::kTriangle, {0xFF000C00, 0xFF000400, 0xFF002400, 0xFF400C00}},
      {KvImageFilter::kBox, {0xFF000000, 0xFF000000, 0xFF004000, 0xFF400000}},
      {KvImageFilter::kPoint, {0xFF000000, 0xFF000000, 0xFF000000, kRed}},
  };
  for (const auto& [filter, level1] : cases) {
    KvTextureImage image;
    ASSERT_EQ(Decode(KvBmpBytes(4, 4, texels), 0, 0, 0, 0, image, {}, {filter, filter}), kOk);
    EXPECT_EQ(image.levels[1].texels, level1) << int(filter);
  }
}

TEST(TextureDecode, SizesBeyondTheLimitsFailWithoutLevels) {
  // A bare header claiming 16384 × 16384 is refused before anything is decoded.
  std::vector<unsigned char> claim = KvBmpBytes(1, 1, {kRed});
  claim.resize(54);
  claim[18] = claim[22] = 0x00;
  claim[19] = claim[23] = 0x40;
  KvTextureImage image;
  EXPECT_EQ(Decode(claim, D3DX_DEFAULT, D3DX_DEFAULT, D3DX_DEFAULT, 0, image), kBad);
  EXPECT_TRUE(image.levels.empty());

  const KvImageLimits small{16, 100};
  const std::vector<unsigned char> wide = KvBmpBytes(17, 1, std::vector<DWORD>(17, kRed));
  EXPECT_EQ(Decode(wide, 0, 0, 0, 0, image, small), kBad);
  const std::vector<unsigned char> square = KvBmpBytes(9, 9, std::vector<DWORD>(81, kRed));
  EXPECT_EQ(Decode(square, 0, 0, 0, 0, image, small), KvImageStatus::kBadTextureSize);  // 16 × 16
  EXPECT_EQ(image.sourceWidth, 9u);
  EXPECT_TRUE(image.levels.empty());
  EXPECT_EQ(Decode(square, 8, 8, 0, 0, image, small), kOk);

  EXPECT_EQ(Decode({'B', 'M', 1, 2, 3}, 0, 0, 0, 0, image), kBad);
  EXPECT_EQ(Decode({}, 0, 0, 0, 0, image), kBad);
}

// Neither loads: the JPEG's table holds more codes than a table can, and PNM is not a format
// textures come in.
TEST(TextureDecode, RefusesOversizedJpegHuffmanTablesAndFormatsTexturesDoNotUse) {
  std::vector<unsigned char> jpeg =
      KvReadBytes(KV_SOURCE_DIR "/tests/fuzz/corpus/texture/grass_crop.jpg");
  KvTextureImage image;
  ASSERT_EQ(Decode(jpeg, 0, 0, 0, 0, image), kOk);
  // An unused AC table with 45 codes of 15 bits and 255 of 16, inserted after the start marker.
  std::vector<unsigned char> table = {0xFF, 0xC4, 0x01, 0x3F, 0x13};
  table.resize(table.size() + 14, 0);
  table.insert(table.end(), {45, 255});
  table.resize(table.size() + 300, 0);
  jpeg.insert(jpeg.begin() + 2, table.begin(), table.end());
  EXPECT_EQ(Decode(jpeg, 0, 0, 0, 0, image), kBad);

  const char pnm[] = "P6\n1 1\n255\n\xFF\0\0";  // one red texel
  EXPECT_EQ(Decode({pnm, pnm + sizeof pnm - 1}, 0, 0, 0, 0, image), kBad);
}

TEST(TextureDecode, RefusesPngChunksLongerThanTheFile) {
  std::vector<unsigned char> png = KvReadBytes(KV_SOURCE_DIR "/Data/Texture/flame.png");
  // The first chunk after IHDR claims 2 GB.
  png[8 + 12 + 13] = 0x7F;
  KvTextureImage image;
  EXPECT_EQ(Decode(png, 0, 0, 0, 0, image), kBad);

  // An empty image data chunk before any data.
  std::vector<unsigned char> empty(png.begin(), png.begin() + 8 + 12 + 13);
  const unsigned char idat[] = {0, 0, 0, 0, 'I', 'D', 'A', 'T', 0x35, 0xAF, 0x06, 0x1E};
  empty.insert(empty.end(), std::begin(idat), std::end(idat));
  EXPECT_EQ(Decode(empty, 0, 0, 0, 0, image), kBad);
}

}  // namespace
