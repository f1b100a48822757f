// Real numbers through strtod, held to std::from_chars' rules: the browser's standard library
// has no std::from_chars for doubles. Its C library's strtod reads the same digits to the same
// nearest double and knows no locale. Inline, so that tests can hold it against from_chars.
#pragma once

#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <string>
#include <string_view>

inline bool KvParseRealStrtod(std::string_view text, double& value) {
  // strtod also takes a '+', white space and hexadecimal, which from_chars does not.
  const std::string_view magnitude = text.substr(text.starts_with('-') ? 1 : 0);
  if (magnitude.empty() || magnitude[0] == '+' || magnitude[0] == '-' ||
      magnitude.starts_with("0x") || magnitude.starts_with("0X")) {
    return false;
  }
  for (char c : text) {
    if (static_cast<unsigned char>(c) <= ' ') return false;
  }
  const std::string terminated(text);
  char* end = nullptr;
  errno = 0;
  const double real = std::strtod(terminated.c_str(), &end);
  if (end != terminated.c_str() + terminated.size()) return false;
  // strtod may report any result below the normal doubles (the desktop's reports all of them);
  // from_chars only those that overflow or round to zero.
  if (errno == ERANGE && (std::isinf(real) || real == 0)) return false;
  // A NaN as from_chars gives it: the text's sign and no payload. The browser's strtod drops
  // the sign, the desktop's keeps the payload.
  const double nan = std::numeric_limits<double>::quiet_NaN();
  value = std::isnan(real) ? std::copysign(nan, text.starts_with('-') ? -1 : 1) : real;
  return true;
}
