// The millisecond clock: a wrapping 32-bit count, replaceable by tests.
#include "platform/win32/internal.h"
#include "platform/win32/testing_input.h"

namespace {

DWORD (*clockOverride)() = nullptr;

}  // namespace

DWORD timeGetTime() {
  if (clockOverride) return clockOverride();
  return KvClockMilliseconds();
}

namespace kv_testing {

void SetClock(DWORD (*clock)()) {
  clockOverride = clock;
}

}  // namespace kv_testing
