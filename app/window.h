// The main window: owns the application, registers the window class, opens the centred
// window and hands over to the application's set-up; the message pump runs the frames.
#pragma once

#include "app/application.h"
#include "platform/win32.h"

inline constexpr char kWindowTitle[] = "Korvane Billboard Sample";

class KV_WINDOW {
 public:
  KV_WINDOW(HINSTANCE instance, int showCommand);
  ~KV_WINDOW();
  KV_WINDOW(const KV_WINDOW&) = delete;
  KV_WINDOW& operator=(const KV_WINDOW&) = delete;

  void CreateApplication();
  ATOM RegisterWindowClass(HINSTANCE instance);
  bool CreateMainWindow(HINSTANCE instance, int showCommand);

  HWND windowHandle = nullptr;
  KV_APPLICATION* application = nullptr;
  // Whether the window opened and the application's set-up succeeded: the frame step must
  // never run on a failed set-up.
  bool started = false;
};

LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// Takes one message at a time without waiting; runs a frame step whenever none is waiting.
// Returns the quit message's exit code after the application has shut down.
int RunMessageLoop(KV_WINDOW& window);
