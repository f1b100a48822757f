// The device-free half of texture loading: keying, rounding, levels and the size limits.
#include "platform/image/image_decode.h"

#include <gtest/gtest.h>

#include <vector>

#include "platform/d3dx9.h"
#include "tests/support/image_files.h"

namespace {

constexpr D3DCOLOR kRed = 0xFFFF0000;
constexpr D3DCOLOR kBlue = 0xFF0000FF;

KvImageStatus Decode(const std::vector<unsigned char>& file, UINT width, UINT height, UINT levels,
                     D3DCOLOR key, KvTextureImage& out, const KvImageLimits& limits = {}) {
  return KvDecodeTextureImage(file.data(), file.size(), width, height, levels, key, out, limits);
}

TEST(TextureDecode, KeysTexelsThenRoundsUpAndHalvesToOneTexel) {
  // 3 × 2: red except one blue texel at (1, 0).
  const std::vector<unsigned char> file = KvBmpBytes(3, 2, {kRed, kBlue, kRed, kRed, kRed, kRed});
  KvTextureImage keyed;
  ASSERT_EQ(Decode(file, D3DX_DEFAULT, D3DX_DEFAULT, D3DX_DEFAULT, kRed, keyed),
            KvImageStatus::kOk);
  EXPECT_EQ(std::pair(keyed.sourceWidth, keyed.sourceHeight), std::pair(3u, 2u));
  ASSERT_EQ(keyed.levels.size(), 3u);  // 4 × 2, 2 × 1, 1 × 1
  EXPECT_EQ(std::pair(keyed.levels[0].width, keyed.levels[0].height), std::pair(4u, 2u));
  // Rounding up repeats source columns: x 0, 0, 1, 2 of the source.
  EXPECT_EQ(keyed.levels[0].texels, (std::vector<DWORD>{0, 0, kBlue, 0, 0, 0, 0, 0}));
  // Keyed texels are averaged into the smaller levels as transparent black.
  EXPECT_EQ(keyed.levels[1].texels, (std::vector<DWORD>{0, 0x40000040}));
  EXPECT_EQ(keyed.levels[2].texels, std::vector<DWORD>{0x20000020});

  KvTextureImage unkeyed;  // a key of 0 keys nothing
  ASSERT_EQ(Decode(file, 0, 0, 0, 0, unkeyed), KvImageStatus::kOk);
  EXPECT_EQ(unkeyed.levels[0].texels[0], kRed);
  EXPECT_EQ(unkeyed.levels[2].texels[0] >> 24, 0xFFu);
}

TEST(TextureDecode, AskedSizesAndLevelCounts) {
  const std::vector<unsigned char> file = KvBmpBytes(2, 2, {kRed, kRed, kRed, kRed});
  const struct {
    UINT width, height, levels;
    std::vector<UINT> sides;  // width, height per level
  } cases[] = {
      {8, 8, 2, {8, 8, 4, 4}},
      {8, 2, 10, {8, 2, 4, 1, 2, 1, 1, 1}},
      {1, 1, D3DX_DEFAULT, {1, 1}},
  };
  for (const auto& c : cases) {
    KvTextureImage image;
    ASSERT_EQ(Decode(file, c.width, c.height, c.levels, 0, image), KvImageStatus::kOk);
    std::vector<UINT> sides;
    for (const KvImage& level : image.levels) {
      sides.insert(sides.end(), {level.width, level.height});
      EXPECT_EQ(level.texels, std::vector<DWORD>(level.width * level.height, kRed));
    }
    EXPECT_EQ(sides, c.sides) << c.width << " x " << c.height << ", " << c.levels << " levels";
  }
}

TEST(TextureDecode, SizesBeyondTheLimitsFailWithoutLevels) {
  // A bare header claiming 16384 × 16384 is refused before anything is decoded.
  std::vector<unsigned char> claim = KvBmpBytes(1, 1, {kRed});
  claim.resize(54);
  claim[18] = claim[22] = 0x00;
  claim[19] = claim[23] = 0x40;
  KvTextureImage image;
  EXPECT_EQ(Decode(claim, D3DX_DEFAULT, D3DX_DEFAULT, D3DX_DEFAULT, 0, image),
            KvImageStatus::kBadFile);
  EXPECT_TRUE(image.levels.empty());

  const KvImageLimits small{16, 100};
  const std::vector<unsigned char> wide = KvBmpBytes(17, 1, std::vector<DWORD>(17, kRed));
  EXPECT_EQ(Decode(wide, 0, 0, 0, 0, image, small), KvImageStatus::kBadFile);
  const std::vector<unsigned char> square = KvBmpBytes(9, 9, std::vector<DWORD>(81, kRed));
  EXPECT_EQ(Decode(square, 0, 0, 0, 0, image, small), KvImageStatus::kBadTextureSize);  // 16 × 16
  EXPECT_EQ(image.sourceWidth, 9u);
  EXPECT_TRUE(image.levels.empty());
  EXPECT_EQ(Decode(square, 8, 8, 0, 0, image, small), KvImageStatus::kOk);

  EXPECT_EQ(Decode({'B', 'M', 1, 2, 3}, 0, 0, 0, 0, image), KvImageStatus::kBadFile);
  EXPECT_EQ(Decode({}, 0, 0, 0, 0, image), KvImageStatus::kBadFile);
}

// Neither loads: the JPEG's table holds more codes than a table can, and PNM is not a format
// textures come in.
TEST(TextureDecode, RefusesOversizedJpegHuffmanTablesAndFormatsTexturesDoNotUse) {
  std::vector<unsigned char> jpeg =
      KvReadBytes(KV_SOURCE_DIR "/tests/fuzz/corpus/texture/grass_crop.jpg");
  KvTextureImage image;
  ASSERT_EQ(Decode(jpeg, 0, 0, 0, 0, image), KvImageStatus::kOk);
  // An unused AC table with 45 codes of 15 bits and 255 of 16, inserted after the start marker.
  std::vector<unsigned char> table = {0xFF, 0xC4, 0x01, 0x3F, 0x13};
  table.resize(table.size() + 14, 0);
  table.insert(table.end(), {45, 255});
  table.resize(table.size() + 300, 0);
  jpeg.insert(jpeg.begin() + 2, table.begin(), table.end());
  EXPECT_EQ(Decode(jpeg, 0, 0, 0, 0, image), KvImageStatus::kBadFile);

  const char pnm[] = "P6\n1 1\n255\n\xFF\0\0";  // one red texel
  EXPECT_EQ(Decode({pnm, pnm + sizeof pnm - 1}, 0, 0, 0, 0, image), KvImageStatus::kBadFile);
}

TEST(TextureDecode, RefusesPngChunksLongerThanTheFile) {
  std::vector<unsigned char> png = KvReadBytes(KV_SOURCE_DIR "/Data/Texture/flame.png");
  // The first chunk after IHDR claims 2 GB.
  png[8 + 12 + 13] = 0x7F;
  KvTextureImage image;
  EXPECT_EQ(Decode(png, 0, 0, 0, 0, image), KvImageStatus::kBadFile);

  // An empty image data chunk before any data.
  std::vector<unsigned char> empty(png.begin(), png.begin() + 8 + 12 + 13);
  const unsigned char idat[] = {0, 0, 0, 0, 'I', 'D', 'A', 'T', 0x35, 0xAF, 0x06, 0x1E};
  empty.insert(empty.end(), std::begin(idat), std::end(idat));
  EXPECT_EQ(Decode(empty, 0, 0, 0, 0, image), KvImageStatus::kBadFile);
}

}  // namespace
