// The reason the last platform call failed, as GetLastError and FormatMessageA report it.
#include "platform/win32/internal.h"

namespace {

std::string& LastError() {
  static std::string text;
  return text;
}

// Every failure recorded here is the system's "a device attached to the system is not
// functioning" (ERROR_GEN_FAILURE), with the recorded reason as its text.
constexpr DWORD kFailureCode = 31;

}  // namespace

void KvSetLastPlatformError(const std::string& text) {
  LastError() = text;
}

LPCSTR KvLastPlatformError() {
  return LastError().c_str();
}

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
