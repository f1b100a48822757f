// The page's entry: hands over to the application's WinMain and tells the page when it has
// returned (Module.kvExitCode, the status line with the reason of a failed start, the console).
#include <emscripten.h>

#include <cstdio>

#include "platform/win32.h"

// clang-format off
EM_JS(void, KvPageProgramEnded, (int exitCode), {
  Module.kvExitCode = exitCode;
  // Its window closes with it, as on the desktop; the canvas keeps its place on the page.
  const canvas = document.getElementById('canvas');
  if (canvas) canvas.style.visibility = 'hidden';
  const status = document.getElementById('status');
  // A failed start says why: the program's last line on stderr, which the page keeps.
  const why = exitCode !== 0 && Module.kvLastError ? ' ' + Module.kvLastError + "." : "";
  if (status) {
    status.textContent = 'The program has ended (exit code ' + exitCode + ').' + why +
                         ' Reload the page to start it again.';
  }
});
// clang-format on

int main() {
  const int exitCode =
      WinMain(GetModuleHandleA(nullptr), nullptr, const_cast<LPSTR>(""), SW_SHOWDEFAULT);
  std::printf("korvane: ended with exit code %d\n", exitCode);
  KvPageProgramEnded(exitCode);
  return exitCode;
}
