// Keyboard state for GetAsyncKeyState: a key reads as down while it is held, and once more
// after a press that was released before the next query. A press of F3 also shows or hides
// the device's figures overlay.
#include <array>

#include "platform/win32/internal.h"
#include "platform/win32/testing_input.h"

namespace {

struct KeyState {
  bool down = false;
  bool pressedSinceQuery = false;
};

bool overlayShown = false;

std::array<KeyState, 256>& Keys() {
  static std::array<KeyState, 256> keys;
  return keys;
}

bool InRange(int virtualKey) {
  return virtualKey > 0 && virtualKey < 256;
}

}  // namespace

int KvVirtualKeyFromSdl(SDL_Keycode key) {
  if (key >= SDLK_a && key <= SDLK_z) return 'A' + (key - SDLK_a);
  if (key >= SDLK_0 && key <= SDLK_9) return '0' + (key - SDLK_0);
  if (key >= SDLK_F1 && key <= SDLK_F12) return VK_F1 + (key - SDLK_F1);
  switch (key) {
    case SDLK_ESCAPE:
      return VK_ESCAPE;
    case SDLK_RETURN:
      return VK_RETURN;
    case SDLK_SPACE:
      return VK_SPACE;
    case SDLK_TAB:
      return VK_TAB;
    case SDLK_BACKSPACE:
      return VK_BACK;
    case SDLK_LEFT:
      return VK_LEFT;
    case SDLK_RIGHT:
      return VK_RIGHT;
    case SDLK_UP:
      return VK_UP;
    case SDLK_DOWN:
      return VK_DOWN;
    case SDLK_LSHIFT:
    case SDLK_RSHIFT:
      return 0x10;
    case SDLK_LCTRL:
    case SDLK_RCTRL:
      return 0x11;
    case SDLK_LALT:
    case SDLK_RALT:
      return 0x12;
    default:
      return 0;
  }
}

void KvKeyboardPress(int virtualKey) {
  if (!InRange(virtualKey)) return;
  if (virtualKey == VK_F3 && !Keys()[virtualKey].down) overlayShown = !overlayShown;
  Keys()[virtualKey] = KeyState{true, true};
}

void KvKeyboardRelease(int virtualKey) {
  if (!InRange(virtualKey)) return;
  Keys()[virtualKey].down = false;
}

bool KvOverlayShown() {
  return overlayShown;
}

SHORT GetAsyncKeyState(int virtualKey) {
  if (!InRange(virtualKey)) return 0;
  KeyState& key = Keys()[virtualKey];
  const int value = (key.down ? 0x8000 : 0) | (key.pressedSinceQuery ? 1 : 0);
  key.pressedSinceQuery = false;
  return static_cast<SHORT>(value);
}

namespace kv_testing {

void PressKey(int virtualKey) {
  KvKeyboardPress(virtualKey);
}
void ReleaseKey(int virtualKey) {
  KvKeyboardRelease(virtualKey);
}
void ReleaseAllKeys() {
  Keys() = {};
}

}  // namespace kv_testing
