// Inside the window layer: the record behind a window handle, and what the shared code (class
// registry, windows, message queue, keyboard state, mouse device) and each backend (SDL on the
// desktop, the page's canvas in the browser) ask of each other.
#pragma once

#include <string>
#include <vector>

#include "platform/win32/gl_surface.h"

// The backend's own part of a window: an SDL window, or the page's canvas.
struct KvNativeWindow;

struct HWND__ {
  KvNativeWindow* native = nullptr;
  std::string className;
  WNDPROC procedure = nullptr;
  bool destroyed = false;
  // The window record lives while the window is open or something (a device) holds it, so
  // that a device can still reach its OpenGL context after the window was destroyed.
  int references = 1;
};

// ---- Shared, for the backends ----------------------------------------------------------

// The windows that are open, in the order they were created.
const std::vector<HWND>& KvOpenWindows();
// Every window that is open, for messages meant for all of them.
void KvForEachOpenWindow(void (*visit)(HWND window));
void KvPostMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// Keyboard state, fed by the backend's key events.
void KvKeyboardPress(int virtualKey);
void KvKeyboardRelease(int virtualKey);
bool KvKeyboardDown(int virtualKey);

// Mouse wheel motion, fed by the backend's events and read by the mouse device.
void KvMouseWheelAdd(int delta);
int KvMouseWheelTake();

// ---- Each backend's ----------------------------------------------------------------------

// The window's native part, hidden; null, with the reason recorded, when it cannot be made.
KvNativeWindow* KvCreateNativeWindow(LPCSTR title, int x, int y, int width, int height);
void KvDestroyNativeWindow(KvNativeWindow* native);
// Shows or hides it; whether it was shown before.
bool KvShowNativeWindow(KvNativeWindow* native, bool show);
// Puts what arrived from the keyboard and the windows since the last call on the queue
// (events.cpp), after the wait for the display to take the next frame (frames.cpp).
void KvPumpNativeEvents();
// The display's side of presenting (frames.cpp): a frame presented (the swap calls it), and
// the wait the pump makes before the next one. The desktop shows each frame at once and never
// waits; the browser shows it at its next animation frame, which the program waits for.
void KvFramePresented();
void KvWaitForFrame();
// The size of the screen the windows are shown on; false when there is none.
bool KvScreenSize(int& width, int& height);
// The real clock, in milliseconds, that timeGetTime reads unless a test replaces it.
DWORD KvClockMilliseconds();
// The mouse's motion since the last reading and its buttons: bit i is button i of
// DIMOUSESTATE (left, right, middle, the first extra button).
void KvReadMouse(int& dx, int& dy, unsigned& buttons);
