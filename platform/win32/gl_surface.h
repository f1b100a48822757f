// The window layer's face towards the device: an OpenGL context on a window's drawing surface,
// and what the device must know of the window and the keyboard. The desktop backend makes an
// OpenGL 3.3 core or an OpenGL ES 3.0 context through SDL, as the device asks; the browser's a
// WebGL 2 context (OpenGL ES 3.0) on the page's canvas.
// The device includes this header and nothing else of the window layer's insides.
#pragma once

#include <string>

#include "platform/win32.h"

using KvGlContext = void*;

// The OpenGL a device draws with, which its build chooses.
enum class KvGlApi { kCore33, kEs30 };

// An OpenGL context of that kind on the window, current afterwards; null, with the reason
// recorded, when it cannot be had. The device checks the version it was given itself.
KvGlContext KvCreateGlContext(HWND window, KvGlApi api);
void KvDeleteGlContext(HWND window, KvGlContext context);
// What became of the window's context since the last call: usable; taken away (a browser's
// lost WebGL context: nothing drawn shows); or given back, usable again but with none of its
// objects (said once, then usable). A desktop context is always usable.
enum class KvGlContextState { kUsable, kLost, kRestored };
KvGlContextState KvTakeGlContextState(HWND window);
void KvMakeGlContextCurrent(HWND window, KvGlContext context);
// Shows what was drawn into the window's own framebuffer.
void KvSwapGlWindow(HWND window);
void KvGlDrawableSize(HWND window, int& width, int& height);
// 0 presents at once; 1 waits for the display's retrace.
void KvSetGlSwapInterval(int interval);
// Whether windows are shown on a display at all (the offscreen video driver's never are).
bool KvWindowsShown();

bool KvWindowDestroyed(HWND window);
// A window record lives while the window is open or something (a device) holds it.
void KvRetainWindow(HWND window);
void KvReleaseWindow(HWND window);
// The reason the last platform call failed, as GetLastError and FormatMessageA report it.
void KvSetLastPlatformError(const std::string& text);

// Called with a key's virtual-key code each time it goes down (not for the keyboard's own
// repeats), before the key reaches the program's messages.
using KvKeyPressListener = void (*)(int virtualKey);
void KvListenToKeyPresses(KvKeyPressListener listener);
