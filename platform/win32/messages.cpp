// The message queue: the backend's events become window messages; PeekMessageA never waits.
#include <deque>

#include "platform/win32/internal.h"

namespace {

std::deque<MSG>& Queue() {
  static std::deque<MSG> queue;
  return queue;
}

}  // namespace

void KvPostMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  Queue().push_back(MSG{window, message, wParam, lParam, KvClockMilliseconds(), POINT{0, 0}});
}

BOOL PeekMessageA(MSG* message, HWND window, UINT, UINT, UINT removeFlags) {
  if (!message) return FALSE;
  if (Queue().empty()) KvPumpNativeEvents();
  auto& queue = Queue();
  for (auto it = queue.begin(); it != queue.end(); ++it) {
    if (window && it->hwnd != window && it->message != WM_QUIT) continue;
    *message = *it;
    if (removeFlags & PM_REMOVE) queue.erase(it);
    return TRUE;
  }
  return FALSE;
}

BOOL TranslateMessage(const MSG* message) {
  return message && (message->message == WM_KEYDOWN || message->message == WM_KEYUP);
}

LRESULT DispatchMessageA(const MSG* message) {
  if (!message || !IsWindow(message->hwnd)) return 0;
  return message->hwnd->procedure(message->hwnd, message->message, message->wParam,
                                  message->lParam);
}

LRESULT DefWindowProcA(HWND window, UINT message, WPARAM, LPARAM) {
  if (message == WM_CLOSE) DestroyWindow(window);
  return 0;
}

BOOL PostMessageA(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (window && !IsWindow(window)) return FALSE;
  KvPostMessage(window, message, wParam, lParam);
  return TRUE;
}

void PostQuitMessage(int exitCode) {
  KvPostMessage(nullptr, WM_QUIT, static_cast<WPARAM>(exitCode), 0);
}
