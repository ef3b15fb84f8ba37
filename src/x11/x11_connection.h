// The connection to the X server of an X11 session, with its keyboard extension.
#pragma once

#include <X11/Xlib.h>

namespace kantrell {

class X11Connection {
 public:
  enum class Outcome {
    NoDisplayName,  // DISPLAY is not set
    Unreachable,    // the display cannot be opened
    NoXkb,          // the server has no XKB extension
    Open,
  };

  // Opens the display DISPLAY names and checks for XKB. Protocol errors are ignored from then on,
  // as every failure of the program is silent; a lost connection ends the program.
  X11Connection();
  ~X11Connection();
  X11Connection(const X11Connection&) = delete;
  X11Connection& operator=(const X11Connection&) = delete;

  Outcome outcome() const { return outcome_; }
  // Usable only when outcome() is Outcome::Open.
  Display* display() const { return display_; }

 private:
  Display* display_ = nullptr;
  Outcome outcome_ = Outcome::NoDisplayName;
};

}  // namespace kantrell
