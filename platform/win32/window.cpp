// Window classes and windows: the records behind the handles, each with the backend's native
// window (an SDL window, or the page's canvas) that can carry an OpenGL context.
#include <cstdint>
#include <map>

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
std::vector<HWND>& OpenWindowList() {
  static auto* windows = new std::vector<HWND>;
  return *windows;
}

// Handles that only need to be distinct and non-null.
HICON__* const kArrowCursor = reinterpret_cast<HICON__*>(std::uintptr_t{0x1001});
HINSTANCE__* const kModule = reinterpret_cast<HINSTANCE__*>(std::uintptr_t{0x400000});
char stockObjects[32];

void ForgetWindow(HWND window) {
  auto& open = OpenWindowList();
  for (auto it = open.begin(); it != open.end(); ++it) {
    if (*it == window) {
      open.erase(it);
      return;
    }
  }
}

}  // namespace

const std::vector<HWND>& KvOpenWindows() {
  return OpenWindowList();
}

void KvForEachOpenWindow(void (*visit)(HWND window)) {
  const std::vector<HWND> open = OpenWindowList();
  for (HWND window : open) visit(window);
}

bool KvWindowDestroyed(HWND window) {
  return window->destroyed;
}

void KvRetainWindow(HWND window) {
  ++window->references;
}

void KvReleaseWindow(HWND window) {
  if (--window->references > 0) return;
  ForgetWindow(window);
  if (window->native) KvDestroyNativeWindow(window->native);
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
  KvNativeWindow* native = KvCreateNativeWindow(windowName, x, y, width, height);
  if (!native) return nullptr;
  HWND window = new HWND__;
  window->native = native;
  window->className = className;
  window->procedure = Classes()[className].procedure;
  OpenWindowList().push_back(window);
  window->procedure(window, WM_CREATE, 0, 0);
  return window;
}

BOOL IsWindow(HWND window) {
  for (HWND open : OpenWindowList()) {
    if (open == window) return !window->destroyed;
  }
  return FALSE;
}

BOOL ShowWindow(HWND window, int showCommand) {
  if (!IsWindow(window)) return FALSE;
  return KvShowNativeWindow(window->native, showCommand != SW_HIDE) ? TRUE : FALSE;
}

BOOL UpdateWindow(HWND window) {
  if (!IsWindow(window)) return FALSE;
  window->procedure(window, WM_PAINT, 0, 0);
  return TRUE;
}

BOOL DestroyWindow(HWND window) {
  if (!IsWindow(window)) return FALSE;
  window->destroyed = true;
  KvShowNativeWindow(window->native, false);
  window->procedure(window, WM_DESTROY, 0, 0);
  KvReleaseWindow(window);
  return TRUE;
}

int GetSystemMetrics(int index) {
  if (index != SM_CXSCREEN && index != SM_CYSCREEN) return 0;
  int width = 0;
  int height = 0;
  if (!KvScreenSize(width, height)) return 0;
  return index == SM_CXSCREEN ? width : height;
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
