// Keys through the message pump as SDL delivers them, on a window of the offscreen driver.
#include <utility>

#include "platform/testing.h"
#include "tests/support/device_fixture.h"

namespace {

using KvKeyboardTest = KvDeviceTest;  // for its window

// Pushes a letter key's press and pumps until its message: the virtual key the message names,
// and whether W then reads as held.
std::pair<WPARAM, bool> Press(HWND window, char place, char types) {
  kv_testing::ReleaseAllKeys();
  kv_testing::PushLetterKey(window, true, place, types);
  MSG message = {};
  while (PeekMessageA(&message, window, 0, 0, PM_REMOVE) && message.message != WM_KEYDOWN) {
  }
  return {message.message == WM_KEYDOWN ? message.wParam : 0, GetAsyncKeyState('W') < 0};
}

}  // namespace

// On a French layout the key in W's place types z, and the key labelled W sits in Z's place.
// Keys count by their place, so the first walks forward and the second does not.
TEST_F(KvKeyboardTest, LetterKeysCountByTheirPlaceWhateverTheLayoutTypes) {
  Open();
  EXPECT_EQ(Press(window, 'W', 'z'), std::pair(WPARAM('W'), true));
  EXPECT_EQ(Press(window, 'Z', 'w'), std::pair(WPARAM('Z'), false));
}
