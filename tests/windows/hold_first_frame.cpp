// Waits until a window shows anything but black, then stops a process with SIGSTOP, so that
// its first frame can be taken before it draws the next one. Reads two rows of the window
// about every millisecond: far less than one frame of the program.
// Usage: kv_hold_first_frame <window id> <process id> <seconds to wait>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <signal.h>
#include <time.h>

#include <cstdio>
#include <cstdlib>

namespace {

// A window that goes away between two reads ends the wait instead of the program.
int IgnoreError(Display*, XErrorEvent*) {
  return 0;
}

bool RowLit(Display* display, Window window, int width, int y) {
  XImage* row = XGetImage(display, window, 0, y, width, 1, AllPlanes, ZPixmap);
  if (!row) return false;
  bool lit = false;
  for (int x = 0; x < width && !lit; ++x) lit = (XGetPixel(row, x, 0) & 0xFFFFFF) != 0;
  XDestroyImage(row);
  return lit;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 4) {
    std::fprintf(stderr, "usage: kv_hold_first_frame <window id> <process id> <seconds>\n");
    return 2;
  }
  Display* display = XOpenDisplay(nullptr);
  if (!display) return 1;
  XSetErrorHandler(IgnoreError);
  const Window window = std::strtoul(argv[1], nullptr, 0);
  const pid_t process = static_cast<pid_t>(std::atoi(argv[2]));
  const long polls = std::atol(argv[3]) * 1000;
  const timespec pause = {0, 1000000};
  for (long i = 0; i < polls; ++i) {
    XWindowAttributes attributes;
    if (!XGetWindowAttributes(display, window, &attributes)) break;
    const int w = attributes.width, h = attributes.height;
    if (RowLit(display, window, w, h / 4) || RowLit(display, window, w, h * 3 / 4)) {
      kill(process, SIGSTOP);
      XCloseDisplay(display);
      return 0;
    }
    nanosleep(&pause, nullptr);
  }
  XCloseDisplay(display);
  std::fprintf(stderr, "kv_hold_first_frame: the window stayed black\n");
  return 1;
}
