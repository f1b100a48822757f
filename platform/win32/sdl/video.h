// Inside the SDL backend: the SDL window behind a window record, and SDL's start.
#pragma once

#include <SDL.h>

#include "platform/win32/internal.h"

struct KvNativeWindow {
  SDL_Window* sdlWindow = nullptr;
};

// Initialises SDL's video (once); false, with the reason recorded, when there is no display.
bool KvEnsureVideo();

HWND KvWindowFromSdlId(Uint32 windowId);

// The virtual-key code of the key in a place on the keyboard; 0 for keys the program has none
// for.
int KvVirtualKeyFromSdl(SDL_Scancode key);
