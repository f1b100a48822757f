// OpenGL contexts on SDL windows, for the device.
#include "platform/win32/gl_surface.h"

#include <cstring>

#include "platform/win32/sdl/video.h"

namespace {

// What SDL asks the display for: OpenGL 3.3 core, or OpenGL ES 3.0 (through EGL where the
// display offers ES only that way).
void AskFor(KvGlApi api) {
  const bool es = api == KvGlApi::kEs30;
  SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK,
                      es ? SDL_GL_CONTEXT_PROFILE_ES : SDL_GL_CONTEXT_PROFILE_CORE);
  SDL_GL_SetAttribute(SDL_GL_CONTEXT_MAJOR_VERSION, 3);
  SDL_GL_SetAttribute(SDL_GL_CONTEXT_MINOR_VERSION, es ? 0 : 3);
}

const char* Named(KvGlApi api) {
  return api == KvGlApi::kEs30 ? "OpenGL ES 3.0" : "OpenGL 3.3";
}

}  // namespace

KvGlContext KvCreateGlContext(HWND window, KvGlApi api) {
  AskFor(api);
  SDL_GLContext context = SDL_GL_CreateContext(window->native->sdlWindow);
  if (!context) {
    KvSetLastPlatformError(std::string("no ") + Named(api) + " context (" + SDL_GetError() + ")");
    return nullptr;
  }
  if (SDL_GL_MakeCurrent(window->native->sdlWindow, context) != 0) {
    KvSetLastPlatformError(std::string("the ") + Named(api) + " context cannot be made current (" +
                           SDL_GetError() + ")");
    SDL_GL_DeleteContext(context);
    return nullptr;
  }
  return context;
}

void KvDeleteGlContext(HWND window, KvGlContext context) {
  SDL_GL_MakeCurrent(window->native->sdlWindow, nullptr);
  SDL_GL_DeleteContext(context);
}

KvGlContextState KvTakeGlContextState(HWND) {
  return KvGlContextState::kUsable;
}

void KvMakeGlContextCurrent(HWND window, KvGlContext context) {
  SDL_GL_MakeCurrent(window->native->sdlWindow, context);
}

void KvSwapGlWindow(HWND window) {
  SDL_GL_SwapWindow(window->native->sdlWindow);
  KvFramePresented();
}

void KvGlDrawableSize(HWND window, int& width, int& height) {
  SDL_GL_GetDrawableSize(window->native->sdlWindow, &width, &height);
}

void KvSetGlSwapInterval(int interval) {
  SDL_GL_SetSwapInterval(interval);
}

bool KvWindowsShown() {
  const char* driver = SDL_GetCurrentVideoDriver();
  return driver && std::strcmp(driver, "offscreen") != 0;
}
