// Inside the platform layer: the record behind a window handle and the shared SDL set-up.
#pragma once

#include <SDL.h>

#include <string>

#include "platform/win32.h"

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
void KvSetLastPlatformError(const std::string& text);

HWND KvWindowFromSdlId(Uint32 windowId);
void KvRetainWindow(HWND window);
void KvReleaseWindow(HWND window);
// Every window that is open, for messages meant for all of them.
void KvForEachOpenWindow(void (*visit)(HWND window));

// Keyboard state, fed by the message pump.
int KvVirtualKeyFromSdl(SDL_Scancode key);
void KvKeyboardPress(int virtualKey);
void KvKeyboardRelease(int virtualKey);

// Whether the figures overlay is shown: F3 toggles it, and still reaches the program as a key.
bool KvOverlayShown();

// Mouse wheel motion, fed by the message pump and read by the mouse device.
void KvMouseWheelAdd(int delta);
int KvMouseWheelTake();
