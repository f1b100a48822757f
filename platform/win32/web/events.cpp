// The canvas's key events become window messages and key state, and the pump. Keys reach the
// program while the canvas has the focus; when it loses it, the keys held are released, as the
// desktop does when its window loses the focus.
#include <emscripten/html5.h>

#include "platform/win32/web/page.h"

namespace {

// Whether the browser should leave the key alone: the program's keys (F1, F3, F5 and the
// rest) would otherwise also do what the browser does with them, but a key with Ctrl, Alt or
// the command key held is the browser's shortcut.
bool TakeFromBrowser(const EmscriptenKeyboardEvent& key, int virtualKey) {
  return virtualKey != 0 && !key.ctrlKey && !key.altKey && !key.metaKey;
}

EM_BOOL KeyDown(int, const EmscriptenKeyboardEvent* key, void*) {
  const int virtualKey = KvVirtualKeyFromCode(key->code);
  if (virtualKey == 0) return EM_FALSE;
  KvKeyboardPress(virtualKey);
  if (HWND window = KvCanvasWindow()) {
    KvPostMessage(window, WM_KEYDOWN, static_cast<WPARAM>(virtualKey), key->repeat ? 1 : 0);
  }
  return TakeFromBrowser(*key, virtualKey);
}

EM_BOOL KeyUp(int, const EmscriptenKeyboardEvent* key, void*) {
  const int virtualKey = KvVirtualKeyFromCode(key->code);
  if (virtualKey == 0) return EM_FALSE;
  KvKeyboardRelease(virtualKey);
  if (HWND window = KvCanvasWindow()) {
    KvPostMessage(window, WM_KEYUP, static_cast<WPARAM>(virtualKey), 0);
  }
  return TakeFromBrowser(*key, virtualKey);
}

EM_BOOL FocusLost(int, const EmscriptenFocusEvent*, void*) {
  HWND window = KvCanvasWindow();
  for (int virtualKey = 1; virtualKey < 256; ++virtualKey) {
    if (!KvKeyboardDown(virtualKey)) continue;
    KvKeyboardRelease(virtualKey);
    if (window) KvPostMessage(window, WM_KEYUP, static_cast<WPARAM>(virtualKey), 0);
  }
  return EM_FALSE;
}

}  // namespace

bool KvListenToCanvasKeys() {
  static bool listening = false;
  if (listening) return true;
  listening = emscripten_set_keydown_callback(kKvCanvas, nullptr, EM_TRUE, KeyDown) ==
                  EMSCRIPTEN_RESULT_SUCCESS &&
              emscripten_set_keyup_callback(kKvCanvas, nullptr, EM_TRUE, KeyUp) ==
                  EMSCRIPTEN_RESULT_SUCCESS &&
              emscripten_set_blur_callback(kKvCanvas, nullptr, EM_TRUE, FocusLost) ==
                  EMSCRIPTEN_RESULT_SUCCESS;
  if (!listening) KvSetLastPlatformError("the page's canvas takes no key events");
  return listening;
}

// The page's callbacks have put the key events on the queue already; the pump only waits for
// the browser's next frame when one was presented.
void KvPumpNativeEvents() {
  KvWaitForFrame();
}
