// Texts as tests print them: ASCII as it is, line breaks escaped, anything else as '?'.
#pragma once

#include <string>

#include "core/text.h"

namespace kantrell::testing_support {

inline std::string narrow(const Text& text) {
  std::string out;
  for (char16_t unit : text) {
    if (unit == u'\r') {
      out += "\\r";
    } else if (unit == u'\n') {
      out += "\\n";
    } else {
      out += unit < 0x80 ? static_cast<char>(unit) : '?';
    }
  }
  return out;
}

}  // namespace kantrell::testing_support
