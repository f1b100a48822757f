// Feeds arbitrary bytes to the texture decoder as the program's loader does (texture_fuzz over
// SDL2_image, texture_stb_fuzz over stb_image, as on Windows and in the browser); any crash, hang,
// sanitizer report or broken property of the levels is a bug.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "tests/fuzz/texture_check.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string problem = KvCheckTextureInput(data, size);
  if (!problem.empty()) {
    std::fprintf(stderr, "texture decoder: %s\n", problem.c_str());
    std::abort();
  }
  return 0;
}
