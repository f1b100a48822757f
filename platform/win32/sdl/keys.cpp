// Keys by SDL scancode, and the testing seam's key events on SDL's queue.
#include "platform/win32/sdl/video.h"
#include "platform/win32/testing_input.h"

// By scancode, the key's place on the keyboard, not the character the layout gives it, so the
// controls keep their places whatever the layout: the key in W's place walks on AZERTY too.
int KvVirtualKeyFromSdl(SDL_Scancode key) {
  if (key >= SDL_SCANCODE_A && key <= SDL_SCANCODE_Z) return 'A' + (key - SDL_SCANCODE_A);
  if (key >= SDL_SCANCODE_1 && key <= SDL_SCANCODE_9) return '1' + (key - SDL_SCANCODE_1);
  if (key >= SDL_SCANCODE_F1 && key <= SDL_SCANCODE_F12) return VK_F1 + (key - SDL_SCANCODE_F1);
  switch (key) {
    case SDL_SCANCODE_0:
      return '0';
    case SDL_SCANCODE_ESCAPE:
      return VK_ESCAPE;
    case SDL_SCANCODE_RETURN:
      return VK_RETURN;
    case SDL_SCANCODE_SPACE:
      return VK_SPACE;
    case SDL_SCANCODE_TAB:
      return VK_TAB;
    case SDL_SCANCODE_BACKSPACE:
      return VK_BACK;
    case SDL_SCANCODE_LEFT:
      return VK_LEFT;
    case SDL_SCANCODE_RIGHT:
      return VK_RIGHT;
    case SDL_SCANCODE_UP:
      return VK_UP;
    case SDL_SCANCODE_DOWN:
      return VK_DOWN;
    case SDL_SCANCODE_LSHIFT:
    case SDL_SCANCODE_RSHIFT:
      return 0x10;
    case SDL_SCANCODE_LCTRL:
    case SDL_SCANCODE_RCTRL:
      return 0x11;
    case SDL_SCANCODE_LALT:
    case SDL_SCANCODE_RALT:
      return 0x12;
    default:
      return 0;
  }
}

namespace kv_testing {

void PushLetterKey(HWND window, bool down, char place, char types) {
  SDL_Event event = {};
  event.type = down ? SDL_KEYDOWN : SDL_KEYUP;
  event.key.windowID = window && window->native ? SDL_GetWindowID(window->native->sdlWindow) : 0;
  event.key.state = down ? SDL_PRESSED : SDL_RELEASED;
  event.key.keysym.scancode = static_cast<SDL_Scancode>(SDL_SCANCODE_A + (place - 'A'));
  event.key.keysym.sym = SDLK_a + (types - 'a');
  SDL_PushEvent(&event);
}

}  // namespace kv_testing
