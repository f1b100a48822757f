// Inside the platform layer: the record behind a window handle and the shared SDL set-up.
#pragma once

#include <SDL.h>

#include <string>

#include "platform/win32/gl_surface.h"

struct HWND__ {
  SDL_Window* sdlWindow = nullptr;
  std::string className;
  WNDPROC procedure = nullptr;
  bool destroyed = false;
  // The window record lives while the window is open or something (a device) holds it, so
  // that a device can still reach its OpenGL context after the window was destroyed.
  int references = 1;
};

// Initialises SDL's video (once); false, with the reason recorded, when there is no display.
bool KvEnsureVideo();

HWND KvWindowFromSdlId(Uint32 windowId);
// Every window that is open, for messages meant for all of them.
void KvForEachOpenWindow(void (*visit)(HWND window));

// Keyboard state, fed by the message pump.
int KvVirtualKeyFromSdl(SDL_Scancode key);
void KvKeyboardPress(int virtualKey);
void KvKeyboardRelease(int virtualKey);

// Mouse wheel motion, fed by the message pump and read by the mouse device.
void KvMouseWheelAdd(int delta);
int KvMouseWheelTake();
