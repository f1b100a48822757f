// Inside the browser backend: the page's canvas behind the one window, and its keys.
#pragma once

#include "platform/win32/internal.h"
#include "platform/win32/web/keys.h"

// The page's canvas, which the one window draws on, as the html5 functions name it.
inline constexpr const char* kKvCanvas = "#canvas";

struct KvNativeWindow {
  bool shown = false;
};

// The window on the canvas; null when none is open.
HWND KvCanvasWindow();
// Starts listening to the canvas's keys and focus (once); false, with the reason recorded,
// when the page refuses.
bool KvListenToCanvasKeys();
// Starts listening to the mouse over the canvas (once); false as above.
bool KvListenToCanvasMouse();

// Called by the page's on-screen controls: holds (down non-zero) or lets go of a key, as the
// keyboard does.
extern "C" void KvPageKey(int virtualKey, int down);
