// SDL windows behind the window records, and SDL's video start.
#include <utility>

#include "platform/win32/sdl/video.h"

namespace {

SDL_Window* CreateSdlWindow(LPCSTR title, int x, int y, int width, int height) {
  SDL_GL_SetAttribute(SDL_GL_CONTEXT_MAJOR_VERSION, 3);
  SDL_GL_SetAttribute(SDL_GL_CONTEXT_MINOR_VERSION, 3);
  SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_CORE);
  SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
  // The device draws straight into the window when its depth buffer has 32 bits; asking for
  // 24 gets the finest the display offers, and still a window where it offers no more.
  SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, 24);
  const Uint32 flags = SDL_WINDOW_OPENGL | SDL_WINDOW_HIDDEN | SDL_WINDOW_RESIZABLE;
  return SDL_CreateWindow(title ? title : "", x, y, width, height, flags);
}

}  // namespace

// Only a real display counts unless SDL_VIDEODRIVER names a driver (tests name the
// offscreen one): otherwise SDL would fall back to drivers that show nothing.
bool KvEnsureVideo() {
  if (SDL_WasInit(SDL_INIT_VIDEO)) return true;
  SDL_SetHint(SDL_HINT_QUIT_ON_LAST_WINDOW_CLOSE, "0");
  if (SDL_InitSubSystem(SDL_INIT_EVENTS) != 0) {
    KvSetLastPlatformError(std::string("no event queue (") + SDL_GetError() + ")");
    return false;
  }
  const char* chosen = SDL_getenv("SDL_VIDEODRIVER");
  if (chosen && *chosen) {
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) == 0) return true;
  } else {
    const std::pair<const char*, const char*> displays[] = {{"x11", "DISPLAY"},
                                                            {"wayland", "WAYLAND_DISPLAY"}};
    for (auto [driver, variable] : displays) {
      const char* display = SDL_getenv(variable);
      if (!display || !*display) continue;
      SDL_setenv("SDL_VIDEODRIVER", driver, 1);
      const bool ok = SDL_InitSubSystem(SDL_INIT_VIDEO) == 0;
      SDL_setenv("SDL_VIDEODRIVER", "", 1);
      if (ok) return true;
    }
  }
  KvSetLastPlatformError("no display available");
  return false;
}

HWND KvWindowFromSdlId(Uint32 windowId) {
  for (HWND window : KvOpenWindows()) {
    if (SDL_GetWindowID(window->native->sdlWindow) == windowId) return window;
  }
  return nullptr;
}

KvNativeWindow* KvCreateNativeWindow(LPCSTR title, int x, int y, int width, int height) {
  if (!KvEnsureVideo()) return nullptr;
  SDL_Window* sdlWindow = CreateSdlWindow(title, x, y, width, height);
  if (!sdlWindow) {
    KvSetLastPlatformError(std::string("the window cannot be created (") + SDL_GetError() + ")");
    return nullptr;
  }
  return new KvNativeWindow{sdlWindow};
}

void KvDestroyNativeWindow(KvNativeWindow* native) {
  SDL_DestroyWindow(native->sdlWindow);
  delete native;
}

bool KvShowNativeWindow(KvNativeWindow* native, bool show) {
  const bool wasShown = (SDL_GetWindowFlags(native->sdlWindow) & SDL_WINDOW_SHOWN) != 0;
  if (show) {
    SDL_ShowWindow(native->sdlWindow);
  } else {
    SDL_HideWindow(native->sdlWindow);
  }
  return wasShown;
}

bool KvScreenSize(int& width, int& height) {
  if (!KvEnsureVideo()) return false;
  SDL_DisplayMode mode;
  if (SDL_GetDesktopDisplayMode(0, &mode) != 0) return false;
  width = mode.w;
  height = mode.h;
  return true;
}
