// Keyboard state for GetAsyncKeyState: a key reads as down while it is held, and once more
// after a press that was released before the next query. A listener (the device's) hears of
// every fresh press.
#include <array>

#include "platform/win32/internal.h"
#include "platform/win32/testing_input.h"

namespace {

struct KeyState {
  bool down = false;
  bool pressedSinceQuery = false;
};

KvKeyPressListener pressListener = nullptr;

std::array<KeyState, 256>& Keys() {
  static std::array<KeyState, 256> keys;
  return keys;
}

bool InRange(int virtualKey) {
  return virtualKey > 0 && virtualKey < 256;
}

}  // namespace

void KvKeyboardPress(int virtualKey) {
  if (!InRange(virtualKey)) return;
  if (pressListener && !Keys()[virtualKey].down) pressListener(virtualKey);
  Keys()[virtualKey] = KeyState{true, true};
}

void KvKeyboardRelease(int virtualKey) {
  if (!InRange(virtualKey)) return;
  Keys()[virtualKey].down = false;
}

bool KvKeyboardDown(int virtualKey) {
  return InRange(virtualKey) && Keys()[virtualKey].down;
}

void KvListenToKeyPresses(KvKeyPressListener listener) {
  pressListener = listener;
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
