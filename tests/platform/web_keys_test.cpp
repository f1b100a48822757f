// Keys in the browser by KeyboardEvent.code give the virtual-key codes the desktop gives the
// keys in the same places (by SDL scancode); keys the program has no code for give none.
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "platform/win32/sdl/video.h"
#include "platform/win32/web/keys.h"

TEST(WebKeys, EachPlaceGivesTheDesktopsVirtualKey) {
  // clang-format off
  std::vector<std::pair<std::string, SDL_Scancode>> places = {
      {"Digit0", SDL_SCANCODE_0}, {"Escape", SDL_SCANCODE_ESCAPE}, {"Enter", SDL_SCANCODE_RETURN},
      {"Space", SDL_SCANCODE_SPACE}, {"Tab", SDL_SCANCODE_TAB},
      {"Backspace", SDL_SCANCODE_BACKSPACE}, {"ArrowLeft", SDL_SCANCODE_LEFT},
      {"ArrowRight", SDL_SCANCODE_RIGHT}, {"ArrowUp", SDL_SCANCODE_UP},
      {"ArrowDown", SDL_SCANCODE_DOWN}, {"ShiftLeft", SDL_SCANCODE_LSHIFT},
      {"ShiftRight", SDL_SCANCODE_RSHIFT}, {"ControlLeft", SDL_SCANCODE_LCTRL},
      {"ControlRight", SDL_SCANCODE_RCTRL}, {"AltLeft", SDL_SCANCODE_LALT},
      {"AltRight", SDL_SCANCODE_RALT}, {"NumpadEnter", SDL_SCANCODE_KP_ENTER},
      {"Semicolon", SDL_SCANCODE_SEMICOLON}, {"F13", SDL_SCANCODE_F13}};
  // clang-format on
  for (int i = 0; i < 26; ++i) {
    places.emplace_back(std::string("Key") + char('A' + i), SDL_Scancode(SDL_SCANCODE_A + i));
    if (i < 9)
      places.emplace_back("Digit" + std::to_string(i + 1), SDL_Scancode(SDL_SCANCODE_1 + i));
    if (i < 12) places.emplace_back("F" + std::to_string(i + 1), SDL_Scancode(SDL_SCANCODE_F1 + i));
  }
  for (const auto& [code, scancode] : places)
    EXPECT_EQ(KvVirtualKeyFromCode(code.c_str()), KvVirtualKeyFromSdl(scancode)) << code;
  for (const char* code : {"", "Key", "KeyAB", "Keya", "F0", "F1x", "F112", "Digit10"})
    EXPECT_EQ(KvVirtualKeyFromCode(code), 0) << code;
}
