// The browser's reading of the .x text's real numbers (strtod held to from_chars' rules) and the
// build's own (from_chars on the desktop, that same strtod under Node) give every spelling of
// tests/data/real_numbers.txt the desktop's from_chars answer, bit for bit.
#include <gtest/gtest.h>

#include <cinttypes>
#include <cstdio>
#include <cstring>
#include <fstream>

#include "platform/xfile/real_number.h"
#include "platform/xfile/real_number_strtod.h"

namespace {

std::string Row(bool (*parse)(std::string_view, double&), const std::string& text) {
  double value = 0;
  std::uint64_t bits = 0;
  char answer[17] = "refused";
  if (parse(text, value)) {
    std::memcpy(&bits, &value, sizeof bits);
    std::snprintf(answer, sizeof answer, "%016" PRIx64, bits);
  }
  return '"' + text + "\" " + answer;
}

TEST(RealNumbers, BothReadingsGiveTheDesktopsAnswers) {
  std::ifstream table(KV_SOURCE_DIR "/tests/data/real_numbers.txt");
  int rows = 0;
  for (std::string line; std::getline(table, line);) {
    if (!line.starts_with('"')) continue;
    ++rows;
    const std::string text = line.substr(1, line.rfind('"') - 1);
    EXPECT_EQ(Row(KvParseReal, text), line);
    EXPECT_EQ(Row(KvParseRealStrtod, text), line);
  }
  EXPECT_GT(rows, 80);
}

}  // namespace
