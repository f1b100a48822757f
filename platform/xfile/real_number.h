// A real number of the .x text encoding, as std::from_chars reads a double: an optional '-',
// then digits with an optional point and exponent, or inf, infinity or nan; the whole text.
#pragma once

#include <string_view>

// False for any other spelling (a '+' sign, hexadecimal, text left over) and for a number
// beyond a double's range, too large or so small that it would read as 0.
bool KvParseReal(std::string_view text, double& value);
