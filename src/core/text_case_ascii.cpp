// Case mapping for platforms without CharLowerW/CharUpperW: the ASCII letters A-Z and a-z map
// onto each other, every other code unit is carried along unchanged.
#include "core/text.h"

namespace kantrell {

Text lowerCased(const Text& text) {
  Text result = text;
  for (char16_t& unit : result) {
    if (unit >= u'A' && unit <= u'Z') unit = static_cast<char16_t>(unit - u'A' + u'a');
  }
  return result;
}

Text upperCased(const Text& text) {
  Text result = text;
  for (char16_t& unit : result) {
    if (unit >= u'a' && unit <= u'z') unit = static_cast<char16_t>(unit - u'a' + u'A');
  }
  return result;
}

}  // namespace kantrell
