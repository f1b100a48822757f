#include "particles/random_source.h"

#include <cstdint>

namespace {

// A 32-bit linear congruential generator; unsigned arithmetic wraps modulo 2^32.
constexpr std::uint32_t kInitialState = 1;
std::uint32_t randomState = kInitialState;

}  // namespace

int KvRandom() {
  randomState = randomState * 214013u + 2531011u;
  return static_cast<int>((randomState >> 16) & 0x7FFFu);
}

void KvResetRandomSourceForTesting() {
  randomState = kInitialState;
}
