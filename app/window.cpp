#include "app/window.h"

KV_WINDOW::KV_WINDOW(HINSTANCE instance, int showCommand) {
  CreateApplication();
  RegisterWindowClass(instance);
  started = CreateMainWindow(instance, showCommand);
}

KV_WINDOW::~KV_WINDOW() {
  if (application) delete application;
}

void KV_WINDOW::CreateApplication() {
  application = new KV_APPLICATION(true, 800, 600);
}

ATOM KV_WINDOW::RegisterWindowClass(HINSTANCE instance) {
  WNDCLASSEXA windowClass;
  windowClass.cbSize = sizeof(WNDCLASSEXA);
  windowClass.style = CS_HREDRAW | CS_VREDRAW;
  windowClass.lpfnWndProc = WindowProc;
  windowClass.cbClsExtra = 0;
  windowClass.cbWndExtra = 0;
  windowClass.hInstance = instance;
  windowClass.hIcon = nullptr;
  windowClass.hCursor = LoadCursor(nullptr, IDC_ARROW);
  windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
  windowClass.lpszMenuName = nullptr;
  windowClass.lpszClassName = kWindowTitle;
  windowClass.hIconSm = nullptr;
  return RegisterClassExA(&windowClass);
}

bool KV_WINDOW::CreateMainWindow(HINSTANCE instance, int showCommand) {
  const int x = GetSystemMetrics(SM_CXSCREEN) / 2 - 400;
  const int y = GetSystemMetrics(SM_CYSCREEN) / 2 - 300;
  windowHandle = CreateWindowExA(0, kWindowTitle, kWindowTitle, WS_OVERLAPPEDWINDOW, x, y, 800, 600,
                                 nullptr, nullptr, instance, nullptr);
  if (!windowHandle) return false;
  ShowWindow(windowHandle, showCommand);
  UpdateWindow(windowHandle);
  return application->Initialize(*this, instance);
}

LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_DESTROY) PostQuitMessage(0);
  if (message == WM_KEYDOWN && wParam == VK_ESCAPE) PostQuitMessage(0);
  return DefWindowProcA(window, message, wParam, lParam);
}

int RunMessageLoop(KV_WINDOW& window) {
  MSG message;
  for (;;) {
    if (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
      if (message.message == WM_QUIT) break;
      TranslateMessage(&message);
      DispatchMessageA(&message);
    } else {
      window.application->Frame();
    }
  }
  window.application->Shutdown();
  return static_cast<int>(message.wParam);
}
