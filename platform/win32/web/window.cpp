// The one window of the page: its canvas, sized by the page for the window and the screen, with
// the window's title as the page's. A second window finds the canvas taken.
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

// The page lays the canvas out for the screen it is on (web/korvane.html's kvFitCanvas: its
// shown size and its drawable), told the window's size; without that the canvas shows it 1:1.
EM_JS(void, KvPageFitCanvas, (int width, int height), {
  const canvas = document.getElementById('canvas');
  if (Module.kvFitCanvas) {
    Module.kvFitCanvas(width, height);
  } else if (canvas) {
    canvas.style.width = width + 'px';
    canvas.style.height = height + 'px';
  }
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
  if (emscripten_set_canvas_element_size(kKvCanvas, width, height) != EMSCRIPTEN_RESULT_SUCCESS) {
    KvSetLastPlatformError("the page has no canvas");
    return nullptr;
  }
  KvPageFitCanvas(width, height);
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
