// SDL's events become window messages: keys, closing and resizing, the wheel, and a signal's
// request to end.
#include <cstdint>

#include "platform/win32/sdl/video.h"

namespace {

void PostClose(HWND window) {
  KvPostMessage(window, WM_CLOSE, 0, 0);
}

void TranslateKey(const SDL_KeyboardEvent& key) {
  const int virtualKey = KvVirtualKeyFromSdl(key.keysym.scancode);
  if (virtualKey == 0) return;
  HWND window = KvWindowFromSdlId(key.windowID);
  if (key.type == SDL_KEYDOWN) {
    KvKeyboardPress(virtualKey);
    if (window) {
      KvPostMessage(window, WM_KEYDOWN, static_cast<WPARAM>(virtualKey), key.repeat ? 1 : 0);
    }
  } else {
    KvKeyboardRelease(virtualKey);
    if (window) KvPostMessage(window, WM_KEYUP, static_cast<WPARAM>(virtualKey), 0);
  }
}

void TranslateWindowEvent(const SDL_WindowEvent& event) {
  HWND window = KvWindowFromSdlId(event.windowID);
  if (!window || window->destroyed) return;
  if (event.event == SDL_WINDOWEVENT_CLOSE) {
    KvPostMessage(window, WM_CLOSE, 0, 0);
  } else if (event.event == SDL_WINDOWEVENT_SIZE_CHANGED) {
    const auto size = (static_cast<std::uint32_t>(event.data2) << 16) |
                      (static_cast<std::uint32_t>(event.data1) & 0xFFFF);
    KvPostMessage(window, WM_SIZE, 0, static_cast<LPARAM>(size));
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

}  // namespace

void KvPumpNativeEvents() {
  KvWaitForFrame();
  if (!SDL_WasInit(SDL_INIT_VIDEO)) return;
  SDL_Event event;
  while (SDL_PollEvent(&event)) TranslateEvent(event);
}
