// What the X11 status window needs beyond Xlib: text in outline fonts (Xft) and the primary
// monitor (RandR). It lives in a module of its own, loaded when a window first needs it, so that
// a run without the status window loads neither library nor fontconfig.
#pragma once

#include <X11/Xlib.h>

#include <memory>
#include <vector>

#include "toolkit/fonts.h"
#include "toolkit/window_toolkit.h"

namespace kantrell {

// One static text control as it is to be drawn, its colours already chosen.
struct ControlLook {
  Point position;
  Size size;
  Text text;  // lines end with CR LF
  bool alignRight = false;
  bool alignCentre = false;
  Colour textColour = 0;  // 0x00BBGGRR, never the system colour
  Colour backColour = 0;
  FontSpec font;
};

class X11Drawing {
 public:
  virtual ~X11Drawing() = default;
  // The area of the monitor RandR marks primary; `wholeScreen` where none is.
  virtual Rect primaryMonitor(Rect wholeScreen) = 0;
  // Fills each control with its background and draws its lines, clipped to it.
  virtual void draw(Window window, const std::vector<ControlLook>& controls) = 0;
  // The window is about to be destroyed: what was kept for drawing into it goes.
  virtual void forget(Window window) = 0;
};

// The drawing module, loaded from its place beside the program (or, where it is linked in, made
// directly); nullptr when it cannot be loaded: windows then show without their texts.
std::unique_ptr<X11Drawing> loadX11Drawing(Display* display);

}  // namespace kantrell

// The module's one entry point, looked up by its name; the caller owns what it gives.
extern "C" kantrell::X11Drawing* kantrell_x11_drawing(Display* display);
