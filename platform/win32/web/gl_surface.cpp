// A WebGL 2 context on the page's canvas, for the device. The canvas keeps what was drawn
// (preserveDrawingBuffer), so the picture stays readable while the program waits or holds.
// The browser may take the context away and give it back; the device asks what became of it.
#include <emscripten.h>
#include <emscripten/html5.h>

#include <cstdint>
#include <cstdio>

#include "platform/win32/web/page.h"

namespace {

// The page's one context, as the browser's events about it last left it.
KvGlContextState contextState = KvGlContextState::kUsable;

// JavaScript, which clang-format would take for C++.
// clang-format off
EM_JS(void, KvPageSayPictureAway, (int away), {
  if (Module.setStatus) {
    Module.setStatus(away ? "The picture is away: the browser has taken the page's WebGL context. " +
                            "The demo goes on and shows again when it is given back."
                          : "");
  }
});
// clang-format on

// Returning true prevents the default, which tells the browser the page can restore the
// context, so that it may give it back.
EM_BOOL ContextLost(int, const void*, void*) {
  contextState = KvGlContextState::kLost;
  std::puts("korvane: the WebGL context was lost");
  KvPageSayPictureAway(1);
  return EM_TRUE;
}

EM_BOOL ContextRestored(int, const void*, void*) {
  contextState = KvGlContextState::kRestored;
  std::puts("korvane: the WebGL context was restored");
  KvPageSayPictureAway(0);
  return EM_TRUE;
}

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
  if (emscripten_webgl_make_context_current(context) != EMSCRIPTEN_RESULT_SUCCESS ||
      emscripten_set_webglcontextlost_callback(kKvCanvas, nullptr, EM_TRUE, ContextLost) !=
          EMSCRIPTEN_RESULT_SUCCESS ||
      emscripten_set_webglcontextrestored_callback(kKvCanvas, nullptr, EM_TRUE, ContextRestored) !=
          EMSCRIPTEN_RESULT_SUCCESS) {
    KvSetLastPlatformError("the page's WebGL 2 context cannot be made current or followed");
    emscripten_webgl_destroy_context(context);
    return nullptr;
  }
  contextState = KvGlContextState::kUsable;
  return reinterpret_cast<KvGlContext>(static_cast<std::intptr_t>(context));
}

void KvDeleteGlContext(HWND, KvGlContext context) {
  emscripten_webgl_destroy_context(HandleOf(context));
}

// A lost context stays lost until it is given back; given back is said once.
KvGlContextState KvTakeGlContextState(HWND) {
  const KvGlContextState state = contextState;
  if (state == KvGlContextState::kRestored) contextState = KvGlContextState::kUsable;
  return state;
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
