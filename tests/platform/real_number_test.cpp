// The browser's reading of the .x text's real numbers (strtod held to from_chars' rules)
// against the desktop's (std::from_chars): the same spellings taken, to the same doubles.
#include <gtest/gtest.h>

#include <charconv>
#include <cstring>

#include "platform/xfile/real_number_strtod.h"

TEST(RealNumbers, StrtodTakesWhatFromCharsTakes) {
  // clang-format off
  const char* const spellings[] = {
      "0", "-0", "12", "00012", "1.", ".5", "-.5e-3", "5.e3", "1E5", "1e+5", "0.1", "3.14159265",
      "1.7976931348623157e308", "1.7976931348623159e308", "1e400", "-1e400", "2.5e-324",
      "2.4e-324", "1e-310", "inf", "-inf", "INF", "infinity", "nan", "nan(1)", "+1", "++1", "--1",
      "-+1", "0x10", "-0x1p3", "1e", "1e0x", "..5", "1_0", "infinit", " 1", "1 ", "-", "", "e5",
      ".", "1.5f"};
  // clang-format on
  for (const char* text : spellings) {
    double expected = 0;
    const char* end = text + std::strlen(text);
    const auto [stop, error] = std::from_chars(text, end, expected);
    const bool taken = error == std::errc() && stop == end;
    double value = -1;
    EXPECT_EQ(KvParseRealStrtod(text, value), taken) << '"' << text << '"';
    if (taken && expected == expected) {
      EXPECT_EQ(value, expected) << text;
    }
  }
}
