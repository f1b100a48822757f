// Every input that once broke or nearly broke the .x reader or the texture decoder, and the
// fuzzers' seeds, go through the fuzzers' own checks: a failure here is an abort there.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "tests/fuzz/texture_check.h"
#include "tests/fuzz/xfile_check.h"

namespace {

namespace fs = std::filesystem;

struct FuzzTarget {
  const char* name;
  std::string (*check)(const std::uint8_t*, std::size_t, bool*);
};

// Every file of a folder but its README, in name order.
std::vector<fs::path> Inputs(const std::string& folder) {
  std::vector<fs::path> files;
  for (const fs::directory_entry& entry : fs::directory_iterator(folder)) {
    if (entry.is_regular_file() && entry.path().filename() != "README") {
      files.push_back(entry.path());
    }
  }
  std::sort(files.begin(), files.end());
  return files;
}

std::vector<std::uint8_t> Bytes(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

class FuzzReplay : public testing::TestWithParam<FuzzTarget> {
 protected:
  std::string Folder(const char* kind) const {
    return std::string(KV_SOURCE_DIR) + "/tests/fuzz/" + kind + "/" + GetParam().name;
  }
  // Runs every input through the check; returns how many of them loaded.
  std::size_t Replay(const std::vector<fs::path>& files) const {
    std::size_t loadedCount = 0;
    for (const fs::path& file : files) {
      const std::vector<std::uint8_t> bytes = Bytes(file);
      bool loaded = false;
      EXPECT_EQ(GetParam().check(bytes.data(), bytes.size(), &loaded), "") << file;
      loadedCount += loaded;
    }
    return loadedCount;
  }
};

TEST_P(FuzzReplay, EveryCrashInputFailsCleanlyOrLoadsSoundly) {
  const std::vector<fs::path> files = Inputs(Folder("crashes"));
  EXPECT_FALSE(files.empty());
  Replay(files);
}

// A seed the reader refuses would quietly narrow what the fuzzer explores.
TEST_P(FuzzReplay, EverySeedLoadsSoundly) {
  const std::vector<fs::path> files = Inputs(Folder("corpus"));
  EXPECT_FALSE(files.empty());
  EXPECT_EQ(Replay(files), files.size());
}

INSTANTIATE_TEST_SUITE_P(Fuzzers, FuzzReplay,
                         testing::Values(FuzzTarget{"xfile", KvCheckXFileInput},
                                         FuzzTarget{"texture", KvCheckTextureInput}),
                         [](const testing::TestParamInfo<FuzzTarget>& info) {
                           return std::string(info.param.name);
                         });

}  // namespace
