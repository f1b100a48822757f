// A WebGL 2 context on the page's canvas, for the device. The canvas keeps what was drawn
// (preserveDrawingBuffer), so the picture stays readable while the program waits or holds.
#include <emscripten/html5.h>

#include <cstdint>

#include "platform/win32/web/page.h"

namespace {

EMSCRIPTEN_WEBGL_CONTEXT_HANDLE HandleOf(KvGlContext context) {
  return static_cast<EMSCRIPTEN_WEBGL_CONTEXT_HANDLE>(reinterpret_cast<std::intptr_t>(context));
}

}  // namespace

KvGlContext KvCreateGlContext(HWND, KvGlApi api) {
  if (api != KvGlApi::kEs30) {
    KvSetLastPlatformError("the browser offers OpenGL ES 3.0 (WebGL 2) only");
    return nullptr;
  }
  EmscriptenWebGLContextAttributes attributes;
  emscripten_webgl_init_context_attributes(&attributes);
  attributes.majorVersion = 2;
  attributes.minorVersion = 0;
  attributes.alpha = EM_FALSE;
  attributes.depth = EM_TRUE;
  attributes.stencil = EM_FALSE;
  attributes.antialias = EM_FALSE;
  attributes.preserveDrawingBuffer = EM_TRUE;
  const EMSCRIPTEN_WEBGL_CONTEXT_HANDLE context =
      emscripten_webgl_create_context(kKvCanvas, &attributes);
  if (context <= 0) {
    KvSetLastPlatformError("no WebGL 2 context on the page's canvas");
    return nullptr;
  }
  if (emscripten_webgl_make_context_current(context) != EMSCRIPTEN_RESULT_SUCCESS) {
    KvSetLastPlatformError("the page's WebGL 2 context cannot be made current");
    emscripten_webgl_destroy_context(context);
    return nullptr;
  }
  return reinterpret_cast<KvGlContext>(static_cast<std::intptr_t>(context));
}

void KvDeleteGlContext(HWND, KvGlContext context) {
  emscripten_webgl_destroy_context(HandleOf(context));
}

void KvMakeGlContextCurrent(HWND, KvGlContext context) {
  emscripten_webgl_make_context_current(HandleOf(context));
}

// What was drawn shows once the program gives the browser its turn, which the pump does.
void KvSwapGlWindow(HWND) {
  KvFramePresented();
}

void KvGlDrawableSize(HWND, int& width, int& height) {
  width = 0;
  height = 0;
  emscripten_get_canvas_element_size(kKvCanvas, &width, &height);
}

// The browser shows each picture at its own next animation frame whatever is asked.
void KvSetGlSwapInterval(int) {}

bool KvWindowsShown() {
  return true;
}
