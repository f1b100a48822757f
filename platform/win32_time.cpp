// The millisecond clock: a wrapping 32-bit count, replaceable by tests.
#include "platform/testing.h"
#include "platform/win32_internal.h"

namespace {

DWORD (*clockOverride)() = nullptr;

}  // namespace

DWORD timeGetTime() {
  if (clockOverride) return clockOverride();
  return static_cast<DWORD>(SDL_GetTicks64());
}

namespace kv_testing {

void SetClock(DWORD (*clock)()) {
  clockOverride = clock;
}

}  // namespace kv_testing
