// The mouse as SDL sees it: motion since the last reading and the buttons held.
#include "platform/win32/sdl/video.h"

void KvReadMouse(int& dx, int& dy, unsigned& buttons) {
  dx = 0;
  dy = 0;
  buttons = 0;
  if (!SDL_WasInit(SDL_INIT_VIDEO)) return;
  SDL_PumpEvents();
  const Uint32 held = SDL_GetRelativeMouseState(&dx, &dy);
  const Uint32 masks[4] = {SDL_BUTTON_LMASK, SDL_BUTTON_RMASK, SDL_BUTTON_MMASK, SDL_BUTTON_X1MASK};
  for (unsigned i = 0; i < 4; ++i) buttons |= (held & masks[i]) ? 1u << i : 0u;
}
