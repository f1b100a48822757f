// Keys by KeyboardEvent.code, the key's place on the keyboard whatever the layout, to the same
// virtual-key codes the desktop gives the keys in those places.
#include <cstring>

#include "platform/win32/web/keys.h"

#include "platform/win32.h"

namespace {

struct NamedKey {
  const char* code;
  int virtualKey;
};

constexpr NamedKey kNamedKeys[] = {
    {"Escape", VK_ESCAPE},  {"Enter", VK_RETURN},   {"Space", VK_SPACE},      {"Tab", VK_TAB},
    {"Backspace", VK_BACK}, {"ArrowLeft", VK_LEFT}, {"ArrowRight", VK_RIGHT}, {"ArrowUp", VK_UP},
    {"ArrowDown", VK_DOWN}, {"ShiftLeft", 0x10},    {"ShiftRight", 0x10},     {"ControlLeft", 0x11},
    {"ControlRight", 0x11}, {"AltLeft", 0x12},      {"AltRight", 0x12},
};

bool StartsWith(const char* text, const char* prefix) {
  return std::strncmp(text, prefix, std::strlen(prefix)) == 0;
}

// "KeyA" to "KeyZ", "Digit0" to "Digit9": one character after the prefix.
int LetterOrDigit(const char* code) {
  if (StartsWith(code, "Key") && code[3] >= 'A' && code[3] <= 'Z' && !code[4]) return code[3];
  if (StartsWith(code, "Digit") && code[5] >= '0' && code[5] <= '9' && !code[6]) return code[5];
  return 0;
}

// "F1" to "F12".
int FunctionKey(const char* code) {
  if (code[0] != 'F' || code[1] < '1' || code[1] > '9') return 0;
  int number = code[1] - '0';
  if (code[2]) {
    if (code[2] < '0' || code[2] > '9' || code[3]) return 0;
    number = number * 10 + (code[2] - '0');
  }
  return number <= 12 ? VK_F1 + number - 1 : 0;
}

}  // namespace

int KvVirtualKeyFromCode(const char* code) {
  if (!code || !*code) return 0;
  if (const int key = LetterOrDigit(code)) return key;
  if (const int key = FunctionKey(code)) return key;
  for (const NamedKey& named : kNamedKeys) {
    if (std::strcmp(code, named.code) == 0) return named.virtualKey;
  }
  return 0;
}
