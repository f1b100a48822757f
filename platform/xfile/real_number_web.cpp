// The browser's real numbers: through strtod (real_number_strtod.h).
#include "platform/xfile/real_number.h"

#include "platform/xfile/real_number_strtod.h"

bool KvParseReal(std::string_view text, double& value) {
  return KvParseRealStrtod(text, value);
}
