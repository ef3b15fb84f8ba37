// The two fonts and four colours of the status window, made on every run before the wait.
#pragma once

#include "toolkit/fonts.h"
#include "toolkit/window_toolkit.h"

namespace kantrell {

struct StatusStyle {
  FontId labelFont = 0;  // Arial 8 pt italic; 0 when it could not be made
  FontId valueFont = 0;  // Arial 8 pt bold; 0 when it could not be made
  Colour labelTextColour = kSystemColour;
  Colour labelBackColour = kSystemColour;
  Colour valueTextColour = kSystemColour;
  Colour valueBackColour = kSystemColour;
};

inline constexpr Colour kBlue = 0xFF0000;  // 0x00BBGGRR
inline constexpr Colour kRed = 0x0000FF;

// number * numerator / denominator rounded half away from zero with a 64-bit intermediate, as
// Windows' MulDiv does; -1 when the denominator is 0 or the result does not fit.
int mulDiv(int number, int numerator, int denominator);

// The font height for 8 points at the given density: negative, a character height in pixels.
int fontHeightFor(int dpiY);

// Makes labelFont, then valueFont, then sets the four colours.
StatusStyle prepareStatusStyle(FontMaker& fonts);

}  // namespace kantrell
