// Every input that once broke the .x reader or the texture decoder, and every fuzzer seed, goes
// through the fuzzers' own checks (a failure here is an abort there); the texture inputs go
// through the stb_image reader too, which the Windows program and the browser decode with.
#include <gtest/gtest.h>

#include <filesystem>

#include "platform/image/read_image_stb.h"
#include "tests/fuzz/texture_check.h"
#include "tests/fuzz/xfile_check.h"
#include "tests/support/image_files.h"

namespace {

TEST(FuzzReplay, CrashesFailCleanlyOrLoadSoundlyAndEverySeedLoads) {
  const std::pair<const char*, std::string (*)(const std::uint8_t*, std::size_t, bool*)> targets[] =
      {{"xfile", KvCheckXFileInput},
       {"texture", KvCheckTextureInput},
       {"texture", [](const std::uint8_t* data, std::size_t size, bool* loaded) {
          KvImage image;
          *loaded = KvReadImageStb(data, size, kKvFuzzImageLimits, image);
          const bool sound = image.texels.size() == std::size_t{image.width} * image.height;
          return std::string(*loaded && !sound ? "texels of the wrong count" : "");
        }}};
  for (const auto& [name, check] : targets) {
    // A seed the reader refuses would quietly narrow what the fuzzer explores.
    for (const std::string kind : {"crashes", "corpus"}) {
      int files = 0;
      for (const auto& entry : std::filesystem::directory_iterator(
               std::string(KV_SOURCE_DIR) + "/tests/fuzz/" + kind + "/" + name)) {
        if (!entry.is_regular_file() || entry.path().filename() == "README") continue;
        const std::vector<std::uint8_t> bytes = KvReadBytes(entry.path());
        bool loaded = false;
        EXPECT_EQ(check(bytes.data(), bytes.size(), &loaded), "") << entry.path();
        EXPECT_TRUE(loaded || kind == "crashes") << "seed refused: " << entry.path();
        ++files;
      }
      EXPECT_GT(files, 0) << kind << "/" << name;
    }
  }
}

}  // namespace
