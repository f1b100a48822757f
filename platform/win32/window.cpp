// Window classes and windows: each window is one SDL window that can carry an OpenGL context.
#include <map>
#include <utility>
#include <vector>

#include "platform/win32/internal.h"

namespace {

struct WindowClass {
  WNDPROC procedure;
};

std::map<std::string, WindowClass>& Classes() {
  static std::map<std::string, WindowClass> classes;
  return classes;
}

// A window that is never destroyed stays open, and held here, until the process ends; the
// list itself is never destroyed, so that no window outlives it at exit.
std::vector<HWND>& OpenWindows() {
  static auto* windows = new std::vector<HWND>;
  return *windows;
}

std::string& LastError() {
  static std::string text;
  return text;
}

// Handles that only need to be distinct and non-null.
HICON__* const kArrowCursor = reinterpret_cast<HICON__*>(std::uintptr_t{0x1001});
HINSTANCE__* const kModule = reinterpret_cast<HINSTANCE__*>(std::uintptr_t{0x400000});
char stockObjects[32];

void ForgetWindow(HWND window) {
  auto& open = OpenWindows();
  for (auto it = open.begin(); it != open.end(); ++it) {
    if (*it == window) {
      open.erase(it);
      return;
    }
  }
}

SDL_Window* CreateSdlWindow(LPCSTR title, int x, int y, int width, int height) {
  SDL_GL_SetAttribute(SDL_GL_CONTEXT_MAJOR_VERSION, 3);
  SDL_GL_SetAttribute(SDL_GL_CONTEXT_MINOR_VERSION, 3);
  SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_CORE);
  SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
  // The device draws straight into the window when its depth buffer has 32 bits; asking for
  // 24 gets the finest the display offers, and still a window where it offers no more.
  SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, 24);
  const Uint32 flags = SDL_WINDOW_OPENGL | SDL_WINDOW_HIDDEN | SDL_WINDOW_RESIZABLE;
  return SDL_CreateWindow(title ? title : "", x, y, width, height, flags);
}

}  // namespace

void KvSetLastPlatformError(const std::string& text) {
  LastError() = text;
}

LPCSTR KvLastPlatformError() {
  return LastError().c_str();
}

// Every failure recorded here is the system's "a device attached to the system is not
// functioning" (ERROR_GEN_FAILURE), with the recorded reason as its text.
constexpr DWORD kFailureCode = 31;

DWORD GetLastError() {
  return LastError().empty() ? 0 : kFailureCode;
}

DWORD FormatMessageA(DWORD flags, const void*, DWORD messageId, DWORD, LPSTR buffer, DWORD size,
                     va_list*) {
  const std::string& text = LastError();
  if (!(flags & FORMAT_MESSAGE_FROM_SYSTEM) || messageId != GetLastError() || text.empty() ||
      !buffer || size <= text.size()) {
    return 0;
  }
  text.copy(buffer, text.size());
  buffer[text.size()] = '\0';
  return static_cast<DWORD>(text.size());
}

// Only a real display counts unless SDL_VIDEODRIVER names a driver (tests name the
// offscreen one): otherwise SDL would fall back to drivers that show nothing.
bool KvEnsureVideo() {
  if (SDL_WasInit(SDL_INIT_VIDEO)) return true;
  SDL_SetHint(SDL_HINT_QUIT_ON_LAST_WINDOW_CLOSE, "0");
  if (SDL_InitSubSystem(SDL_INIT_EVENTS) != 0) {
    KvSetLastPlatformError(std::string("no event queue (") + SDL_GetError() + ")");
    return false;
  }
  const char* chosen = SDL_getenv("SDL_VIDEODRIVER");
  if (chosen && *chosen) {
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) == 0) return true;
  } else {
    const std::pair<const char*, const char*> displays[] = {{"x11", "DISPLAY"},
                                                            {"wayland", "WAYLAND_DISPLAY"}};
    for (auto [driver, variable] : displays) {
      const char* display = SDL_getenv(variable);
      if (!display || !*display) continue;
      SDL_setenv("SDL_VIDEODRIVER", driver, 1);
      const bool ok = SDL_InitSubSystem(SDL_INIT_VIDEO) == 0;
      SDL_setenv("SDL_VIDEODRIVER", "", 1);
      if (ok) return true;
    }
  }
  KvSetLastPlatformError("no display available");
  return false;
}

HWND KvWindowFromSdlId(Uint32 windowId) {
  for (HWND window : OpenWindows()) {
    if (SDL_GetWindowID(window->sdlWindow) == windowId) return window;
  }
  return nullptr;
}

void KvForEachOpenWindow(void (*visit)(HWND window)) {
  const std::vector<HWND> open = OpenWindows();
  for (HWND window : open) visit(window);
}

void KvRetainWindow(HWND window) {
  ++window->references;
}

void KvReleaseWindow(HWND window) {
  if (--window->references > 0) return;
  ForgetWindow(window);
  if (window->sdlWindow) SDL_DestroyWindow(window->sdlWindow);
  delete window;
}

ATOM RegisterClassExA(const WNDCLASSEXA* windowClass) {
  if (!windowClass || !windowClass->lpszClassName || !windowClass->lpfnWndProc) return 0;
  auto& classes = Classes();
  if (classes.count(windowClass->lpszClassName)) return 0;
  classes[windowClass->lpszClassName] = WindowClass{windowClass->lpfnWndProc};
  return static_cast<ATOM>(0xC000 + classes.size());
}

HWND CreateWindowExA(DWORD, LPCSTR className, LPCSTR windowName, DWORD, int x, int y, int width,
                     int height, HWND, HMENU, HINSTANCE, LPVOID) {
  if (!className || !Classes().count(className)) {
    KvSetLastPlatformError("the window class is not registered");
    return nullptr;
  }
  if (!KvEnsureVideo()) return nullptr;
  SDL_Window* sdlWindow = CreateSdlWindow(windowName, x, y, width, height);
  if (!sdlWindow) {
    KvSetLastPlatformError(std::string("the window cannot be created (") + SDL_GetError() + ")");
    return nullptr;
  }
  HWND window = new HWND__;
  window->sdlWindow = sdlWindow;
  window->className = className;
  window->procedure = Classes()[className].procedure;
  OpenWindows().push_back(window);
  window->procedure(window, WM_CREATE, 0, 0);
  return window;
}

BOOL IsWindow(HWND window) {
  for (HWND open : OpenWindows()) {
    if (open == window) return !window->destroyed;
  }
  return FALSE;
}

BOOL ShowWindow(HWND window, int showCommand) {
  if (!IsWindow(window)) return FALSE;
  const BOOL wasVisible = (SDL_GetWindowFlags(window->sdlWindow) & SDL_WINDOW_SHOWN) != 0;
  if (showCommand == SW_HIDE) {
    SDL_HideWindow(window->sdlWindow);
  } else {
    SDL_ShowWindow(window->sdlWindow);
  }
  return wasVisible;
}

BOOL UpdateWindow(HWND window) {
  if (!IsWindow(window)) return FALSE;
  window->procedure(window, WM_PAINT, 0, 0);
  return TRUE;
}

BOOL DestroyWindow(HWND window) {
  if (!IsWindow(window)) return FALSE;
  window->destroyed = true;
  SDL_HideWindow(window->sdlWindow);
  window->procedure(window, WM_DESTROY, 0, 0);
  KvReleaseWindow(window);
  return TRUE;
}

int GetSystemMetrics(int index) {
  if (index != SM_CXSCREEN && index != SM_CYSCREEN) return 0;
  if (!KvEnsureVideo()) return 0;
  SDL_DisplayMode mode;
  if (SDL_GetDesktopDisplayMode(0, &mode) != 0) return 0;
  return index == SM_CXSCREEN ? mode.w : mode.h;
}

HCURSOR LoadCursorA(HINSTANCE, LPCSTR name) {
  return name == IDC_ARROW ? kArrowCursor : nullptr;
}

HGDIOBJ GetStockObject(int object) {
  if (object < 0 || object >= static_cast<int>(sizeof stockObjects)) return nullptr;
  return &stockObjects[object];
}

HINSTANCE GetModuleHandleA(LPCSTR moduleName) {
  return moduleName ? nullptr : kModule;
}
