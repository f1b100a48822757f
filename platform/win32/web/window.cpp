// The one window of the page: its canvas, sized to the window, with the window's title as the
// page's. A second window finds the canvas taken.
#include <emscripten.h>
#include <emscripten/html5.h>

#include "platform/win32/web/page.h"

namespace {

// Hidden keeps the canvas's place on the page, so the text under it does not move.
// clang-format off
EM_JS(void, KvPageShowCanvas, (int shown), {
  const canvas = document.getElementById('canvas');
  if (canvas) canvas.style.visibility = shown ? 'visible' : 'hidden';
});
// clang-format on

}  // namespace

HWND KvCanvasWindow() {
  for (HWND window : KvOpenWindows()) {
    if (!window->destroyed) return window;
  }
  return nullptr;
}

KvNativeWindow* KvCreateNativeWindow(LPCSTR title, int, int, int width, int height) {
  if (KvCanvasWindow()) {
    KvSetLastPlatformError("the page's canvas already has a window");
    return nullptr;
  }
  // The canvas holds as many pixels as it shows, so the picture is shown 1:1.
  if (emscripten_set_canvas_element_size(kKvCanvas, width, height) != EMSCRIPTEN_RESULT_SUCCESS ||
      emscripten_set_element_css_size(kKvCanvas, width, height) != EMSCRIPTEN_RESULT_SUCCESS) {
    KvSetLastPlatformError("the page has no canvas");
    return nullptr;
  }
  if (!KvListenToCanvasKeys() || !KvListenToCanvasMouse()) return nullptr;
  emscripten_set_window_title(title ? title : "");
  KvPageShowCanvas(false);
  return new KvNativeWindow;
}

void KvDestroyNativeWindow(KvNativeWindow* native) {
  delete native;
}

bool KvShowNativeWindow(KvNativeWindow* native, bool show) {
  const bool wasShown = native->shown;
  native->shown = show;
  KvPageShowCanvas(show);
  return wasShown;
}

bool KvScreenSize(int& width, int& height) {
  emscripten_get_screen_size(&width, &height);
  return width > 0 && height > 0;
}
