// Keys through the message pump as SDL delivers them, on a window of the offscreen driver.
#include <tuple>

#include "platform/testing.h"
#include "tests/support/device_fixture.h"

// On a French layout the key in W's place types z, and the key labelled W sits in Z's place.
// Keys count by their place, so the first walks forward and the second does not.
TEST_F(KvDeviceTest, LetterKeysCountByTheirPlaceWhateverTheLayoutTypes) {
  Open();  // for its window
  const std::tuple<char, char, bool> presses[] = {{'W', 'z', true}, {'Z', 'w', false}};
  for (const auto& [place, types, walks] : presses) {
    kv_testing::ReleaseAllKeys();
    kv_testing::PushLetterKey(window, true, place, types);
    MSG message = {};
    while (PeekMessageA(&message, window, 0, 0, PM_REMOVE) && message.message != WM_KEYDOWN) {
    }
    EXPECT_EQ(message.wParam, WPARAM(place));
    EXPECT_EQ(GetAsyncKeyState('W') < 0, walks) << place;
  }
}
