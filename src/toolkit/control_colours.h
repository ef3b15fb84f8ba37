// How a static text control's text and background colours answer the system's request for its
// drawing colours.
#pragma once

#include "toolkit/window_toolkit.h"

namespace kantrell {

enum class ColourAnswer {
  TextOnDialogFace,  // text colour set, background the dialog face; the system's face brush
  TextOnOwnBrush,    // text and background colour set; the control's own brush
  OwnBrushOnly,      // background colour set; the control's own brush
  SystemDefault,     // nothing set: the system's default processing
};

ColourAnswer colourAnswerFor(Colour text, Colour back);

}  // namespace kantrell
