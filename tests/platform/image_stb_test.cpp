// The browser's image decoder (stb_image) against the desktop's (SDL2_image): the same texels
// from every shipped texture and fuzz corpus image but JPEGs (the decoders round colours
// differently); the same refusal of a header beyond the limits and of files that break it.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "platform/image/read_image.h"
#include "platform/image/read_image_stb.h"
#include "platform/image/stb_guards.h"
#include "tests/support/image_files.h"

namespace {

std::vector<std::filesystem::path> ImageFiles() {
  std::vector<std::filesystem::path> files;
  for (const char* folder : {"Data/Texture", "tests/fuzz/corpus/texture"}) {
    for (const auto& entry : std::filesystem::directory_iterator(folder))
      if (entry.path().extension() != ".jpg") files.push_back(entry.path());
  }
  return files;
}

TEST(StbImageReader, GivesTheDesktopDecodersTexels) {
  const auto files = ImageFiles();
  ASSERT_GE(files.size(), 20u);
  for (const auto& file : files) {
    const std::vector<std::uint8_t> bytes = KvReadBytes(file);
    KvImage desktop, browser;
    ASSERT_TRUE(KvReadImage(bytes.data(), bytes.size(), {}, desktop)) << file;
    ASSERT_TRUE(KvReadImageStb(bytes.data(), bytes.size(), {}, browser)) << file;
    EXPECT_EQ(browser.width, desktop.width) << file;
    EXPECT_EQ(browser.height, desktop.height) << file;
    EXPECT_TRUE(browser.texels == desktop.texels) << file;
  }
}

TEST(StbImageReader, RefusesAnImageBeyondTheLimits) {
  const std::vector<std::uint8_t> bytes = KvReadBytes("Data/Texture/sky.png");  // 256 × 128
  KvImage image;
  EXPECT_TRUE(KvReadImageStb(bytes.data(), bytes.size(), {256, 256u * 128u}, image));
  EXPECT_FALSE(KvReadImageStb(bytes.data(), bytes.size(), {255, 256u * 256u}, image));
  EXPECT_FALSE(KvReadImageStb(bytes.data(), bytes.size(), {256, 256u * 128u - 1}, image));
  EXPECT_FALSE(KvReadImageStb(bytes.data(), bytes.size() / 2, {}, image));  // cut short
}

// Inputs on which stb_image itself writes past a table or allocates what the file claims are
// refused before it reads them: the Windows program and the browser decode users' files so.
TEST(StbImageReader, RefusesTheFilesThatBreakStbImage) {
  for (const char* name :
       {"jpeg_fill_bytes_before_stuffed_zero_hide_a_table.jpg",
        "jpeg_huffman_table_over_256_codes.jpg", "jpeg_table_runs_past_its_segment.jpg",
        "jpeg_progressive_scan_uses_undefined_table.jpg", "jpeg_after_fill_bytes_read_as_tga.jpg",
        "jpeg_component_uses_undefined_quant_table.jpg", "png_chunk_claims_2_gb.png",
        "png_empty_image_data_before_any.png"}) {
    const std::vector<std::uint8_t> bytes =
        KvReadBytes(std::string("tests/fuzz/crashes/texture/") + name);
    KvImageHeader header;
    ASSERT_TRUE(KvReadImageHeader(bytes.data(), bytes.size(), header)) << name;
    EXPECT_FALSE(KvStbCanRead(bytes.data(), bytes.size(), header.format)) << name;
  }
}

}  // namespace
