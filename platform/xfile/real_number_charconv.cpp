// Real numbers through std::from_chars, on the desktop, whose standard library has it for
// doubles.
#include <charconv>

#include "platform/xfile/real_number.h"

bool KvParseReal(std::string_view text, double& value) {
  double real = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), real);
  if (error != std::errc() || end != text.data() + text.size()) return false;
  value = real;
  return true;
}
