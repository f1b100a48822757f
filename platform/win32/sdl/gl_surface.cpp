// OpenGL contexts on SDL windows, for the device.
#include "platform/win32/gl_surface.h"

#include <cstring>

#include "platform/win32/sdl/video.h"

KvGlContext KvCreateGlContext(HWND window) {
  SDL_GLContext context = SDL_GL_CreateContext(window->native->sdlWindow);
  if (!context) {
    KvSetLastPlatformError(std::string("no OpenGL 3.3 context (") + SDL_GetError() + ")");
    return nullptr;
  }
  int major = 0;
  int minor = 0;
  SDL_GL_GetAttribute(SDL_GL_CONTEXT_MAJOR_VERSION, &major);
  SDL_GL_GetAttribute(SDL_GL_CONTEXT_MINOR_VERSION, &minor);
  if (SDL_GL_MakeCurrent(window->native->sdlWindow, context) != 0 || major * 10 + minor < 33) {
    KvSetLastPlatformError("no OpenGL 3.3 context");
    SDL_GL_DeleteContext(context);
    return nullptr;
  }
  return context;
}

void KvDeleteGlContext(HWND window, KvGlContext context) {
  SDL_GL_MakeCurrent(window->native->sdlWindow, nullptr);
  SDL_GL_DeleteContext(context);
}

void KvMakeGlContextCurrent(HWND window, KvGlContext context) {
  SDL_GL_MakeCurrent(window->native->sdlWindow, context);
}

void KvSwapGlWindow(HWND window) {
  SDL_GL_SwapWindow(window->native->sdlWindow);
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
