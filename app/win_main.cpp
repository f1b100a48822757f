// The program's entry: open the window, run the pump, end with the quit message's code.
#include <cstdio>
#include <string>

#include "app/window.h"

namespace {

// The system's text for the last error, without its trailing line break; empty when there
// is no error or no text for it.
std::string LastErrorText() {
  const DWORD code = GetLastError();
  if (code == 0) return "";
  char text[512] = "";
  DWORD length = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
                                code, 0, text, sizeof text, nullptr);
  while (length > 0 &&
         (text[length - 1] == '\r' || text[length - 1] == '\n' || text[length - 1] == ' ')) {
    --length;
  }
  return std::string(text, length);
}

// One line on stderr naming what could not be started.
void ReportFailedStart(const KV_WINDOW& window) {
  const KV_APPLICATION& application = *window.application;
  const char* what = "the mouse input";
  if (!window.windowHandle) {
    what = "the window";
  } else if (!application.direct3D) {
    what = "Direct3D";
  } else if (!application.device) {
    what = "the Direct3D device";
  }
  const std::string reason = LastErrorText();
  std::fprintf(stderr, "%s: cannot start %s%s%s\n", kWindowTitle, what, reason.empty() ? "" : ": ",
               reason.c_str());
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int showCommand) {
  KV_WINDOW* window = new KV_WINDOW(instance, showCommand);
  if (!window->started) {
    ReportFailedStart(*window);
    window->application->Shutdown();
    delete window;
    return 1;
  }
  const int exitCode = RunMessageLoop(*window);
  delete window;
  return exitCode;
}
