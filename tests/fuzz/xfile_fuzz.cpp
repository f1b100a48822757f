// Feeds arbitrary bytes to the .x reader; any crash, hang, sanitizer report or broken property
// of the result is a bug.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "tests/fuzz/xfile_check.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string problem = KvCheckXFileInput(data, size);
  if (!problem.empty()) {
    std::fprintf(stderr, ".x reader: %s\n", problem.c_str());
    std::abort();
  }
  return 0;
}
