// The program's entry: open the window, run the pump, end with the quit message's code.
#include <cstdio>

#include "app/window.h"

namespace {

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
  const char* reason = KvLastPlatformError();
  std::fprintf(stderr, "%s: cannot start %s%s%s\n", kWindowTitle, what, *reason ? ": " : "",
               reason);
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
