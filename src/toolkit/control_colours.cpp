#include "toolkit/control_colours.h"

namespace kantrell {

ColourAnswer colourAnswerFor(Colour text, Colour back) {
  if (back == kSystemColour) {
    return text == kSystemColour ? ColourAnswer::SystemDefault : ColourAnswer::TextOnDialogFace;
  }
  return text == kSystemColour ? ColourAnswer::OwnBrushOnly : ColourAnswer::TextOnOwnBrush;
}

}  // namespace kantrell
