// The window layer's testing seam: tests and the offscreen capture tool replace the clock and
// press keys through it. Nothing in the application uses it.
#pragma once

#include "platform/win32.h"

namespace kv_testing {

// Replaces timeGetTime's clock; null restores the real one.
void SetClock(DWORD (*clock)());

// As if the key had been pressed or released on the keyboard.
void PressKey(int virtualKey);
void ReleaseKey(int virtualKey);
void ReleaseAllKeys();

}  // namespace kv_testing
