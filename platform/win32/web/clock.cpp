// The page's millisecond clock (performance.now), counted from the page's start.
#include <emscripten.h>

#include "platform/win32/internal.h"

DWORD KvClockMilliseconds() {
  return static_cast<DWORD>(static_cast<unsigned long long>(emscripten_get_now()));
}
