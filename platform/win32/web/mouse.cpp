// The mouse over the canvas: motion summed between readings, the buttons held and the wheel.
#include <emscripten/html5.h>

#include "platform/win32/web/page.h"

namespace {

int motionX = 0;
int motionY = 0;
// MouseEvent.buttons: 1 left, 2 right, 4 middle, 8 back; the same order as DIMOUSESTATE's.
unsigned buttonsHeld = 0;

EM_BOOL Moved(int, const EmscriptenMouseEvent* mouse, void*) {
  motionX += int(mouse->movementX);
  motionY += int(mouse->movementY);
  buttonsHeld = mouse->buttons & 0xF;
  return EM_FALSE;
}

EM_BOOL Clicked(int, const EmscriptenMouseEvent* mouse, void*) {
  buttonsHeld = mouse->buttons & 0xF;
  return EM_FALSE;
}

// A wheel turned away from the user scrolls up (a negative deltaY) and counts 120 a notch, as
// on the desktop.
EM_BOOL Wheeled(int, const EmscriptenWheelEvent* wheel, void*) {
  if (wheel->deltaY != 0) KvMouseWheelAdd(wheel->deltaY < 0 ? 120 : -120);
  return EM_FALSE;
}

}  // namespace

bool KvListenToCanvasMouse() {
  static bool listening = false;
  if (listening) return true;
  constexpr EMSCRIPTEN_RESULT kDone = EMSCRIPTEN_RESULT_SUCCESS;
  listening = emscripten_set_mousemove_callback(kKvCanvas, nullptr, EM_TRUE, Moved) == kDone &&
              emscripten_set_mousedown_callback(kKvCanvas, nullptr, EM_TRUE, Clicked) == kDone &&
              emscripten_set_mouseup_callback(kKvCanvas, nullptr, EM_TRUE, Clicked) == kDone &&
              emscripten_set_wheel_callback(kKvCanvas, nullptr, EM_TRUE, Wheeled) == kDone;
  if (!listening) KvSetLastPlatformError("the page's canvas takes no mouse events");
  return listening;
}

void KvReadMouse(int& dx, int& dy, unsigned& buttons) {
  dx = motionX;
  dy = motionY;
  buttons = buttonsHeld;
  motionX = 0;
  motionY = 0;
}
