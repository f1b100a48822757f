// SDL's millisecond clock, counted from SDL's start.
#include "platform/win32/sdl/video.h"

DWORD KvClockMilliseconds() {
  return static_cast<DWORD>(SDL_GetTicks64());
}
