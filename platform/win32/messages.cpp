// The message queue: SDL events become window messages; PeekMessageA never waits.
#include <deque>

#include "platform/win32/internal.h"

namespace {

std::deque<MSG>& Queue() {
  static std::deque<MSG> queue;
  return queue;
}

void Post(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  Queue().push_back(MSG{window, message, wParam, lParam, SDL_GetTicks(), POINT{0, 0}});
}

void PostClose(HWND window) {
  Post(window, WM_CLOSE, 0, 0);
}

void TranslateKey(const SDL_KeyboardEvent& key) {
  const int virtualKey = KvVirtualKeyFromSdl(key.keysym.sym);
  if (virtualKey == 0) return;
  HWND window = KvWindowFromSdlId(key.windowID);
  if (key.type == SDL_KEYDOWN) {
    KvKeyboardPress(virtualKey);
    if (window) Post(window, WM_KEYDOWN, static_cast<WPARAM>(virtualKey), key.repeat ? 1 : 0);
  } else {
    KvKeyboardRelease(virtualKey);
    if (window) Post(window, WM_KEYUP, static_cast<WPARAM>(virtualKey), 0);
  }
}

void TranslateWindowEvent(const SDL_WindowEvent& event) {
  HWND window = KvWindowFromSdlId(event.windowID);
  if (!window || window->destroyed) return;
  if (event.event == SDL_WINDOWEVENT_CLOSE) {
    Post(window, WM_CLOSE, 0, 0);
  } else if (event.event == SDL_WINDOWEVENT_SIZE_CHANGED) {
    const auto size = (static_cast<std::uint32_t>(event.data2) << 16) |
                      (static_cast<std::uint32_t>(event.data1) & 0xFFFF);
    Post(window, WM_SIZE, 0, static_cast<LPARAM>(size));
  }
}

void TranslateEvent(const SDL_Event& event) {
  switch (event.type) {
    case SDL_KEYDOWN:
    case SDL_KEYUP:
      TranslateKey(event.key);
      break;
    case SDL_WINDOWEVENT:
      TranslateWindowEvent(event.window);
      break;
    case SDL_MOUSEWHEEL:
      KvMouseWheelAdd(event.wheel.y * 120);
      break;
    case SDL_QUIT:  // a signal asked the program to end: close every window
      KvForEachOpenWindow(PostClose);
      break;
    default:
      break;
  }
}

void PumpEvents() {
  if (!SDL_WasInit(SDL_INIT_VIDEO)) return;
  SDL_Event event;
  while (SDL_PollEvent(&event)) TranslateEvent(event);
}

}  // namespace

BOOL PeekMessageA(MSG* message, HWND window, UINT, UINT, UINT removeFlags) {
  if (!message) return FALSE;
  if (Queue().empty()) PumpEvents();
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
  Post(window, message, wParam, lParam);
  return TRUE;
}

void PostQuitMessage(int exitCode) {
  Post(nullptr, WM_QUIT, static_cast<WPARAM>(exitCode), 0);
}
