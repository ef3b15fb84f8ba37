#include "status/status_style.h"

#include <cstdint>
#include <limits>

namespace kantrell {

int mulDiv(int number, int numerator, int denominator) {
  if (denominator == 0) return -1;
  const std::int64_t product = std::int64_t{number} * numerator;
  const bool negative = (product < 0) != (denominator < 0);
  const std::int64_t magnitude = product < 0 ? -product : product;
  const std::int64_t divisor = denominator < 0 ? -std::int64_t{denominator} : denominator;
  const std::int64_t rounded = (magnitude + divisor / 2) / divisor;
  if (rounded > std::numeric_limits<int>::max()) return -1;
  return static_cast<int>(negative ? -rounded : rounded);
}

int fontHeightFor(int dpiY) { return -mulDiv(8, dpiY, 72); }

StatusStyle prepareStatusStyle(FontMaker& fonts) {
  const int height = fontHeightFor(fonts.screenDpiY());
  StatusStyle style;
  style.labelFont = fonts.createFont({height, 400, true, u"Arial"});
  style.valueFont = fonts.createFont({height, 700, false, u"Arial"});
  style.labelTextColour = kBlue;
  style.labelBackColour = kSystemColour;
  style.valueTextColour = kRed;
  style.valueBackColour = kSystemColour;
  return style;
}

}  // namespace kantrell
