// The process entry: hands over to the application's WinMain.
#include "platform/win32.h"

int main() {
  return WinMain(GetModuleHandleA(nullptr), nullptr, const_cast<LPSTR>(""), SW_SHOWDEFAULT);
}
