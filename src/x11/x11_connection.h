// The connection to the X server of an X11 session, with its keyboard extension.
#pragma once

#include <X11/Xlib.h>

#include "linux/backend_choice.h"

namespace kantrell {

class X11Connection {
 public:
  // Opens the display DISPLAY names and checks for XKB. Protocol errors are ignored from then on,
  // as every failure of the program is silent; a lost connection ends the program.
  X11Connection();
  ~X11Connection();
  X11Connection(const X11Connection&) = delete;
  X11Connection& operator=(const X11Connection&) = delete;

  X11Status status() const { return status_; }
  // Usable only when status() is X11Status::Usable.
  Display* display() const { return display_; }

 private:
  Display* display_ = nullptr;
  X11Status status_ = X11Status::NoDisplay;
};

}  // namespace kantrell
