// The page's on-screen controls (web/korvane.html) hold the program's keys while they are
// touched or clicked: the page calls KvPageKey when a control is pressed and when it is let go,
// and the key goes through the same key state and window messages as a key on the keyboard.
// The page calls it from its own events, while the program waits for its next frame, so it
// only records and never waits itself.
#include <emscripten.h>

#include "platform/win32/web/page.h"

extern "C" EMSCRIPTEN_KEEPALIVE void KvPageKey(int virtualKey, int down) {
  if (virtualKey <= 0 || virtualKey > 255) return;
  if (down) {
    KvKeyboardPress(virtualKey);
  } else {
    KvKeyboardRelease(virtualKey);
  }
  if (HWND window = KvCanvasWindow()) {
    KvPostMessage(window, down ? WM_KEYDOWN : WM_KEYUP, static_cast<WPARAM>(virtualKey), 0);
  }
}
