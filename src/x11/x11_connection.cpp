#include "x11/x11_connection.h"

#include <X11/XKBlib.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>

namespace kantrell {

namespace {

int ignoreProtocolError(Display*, XErrorEvent*) { return 0; }

// Xlib ends the process when this returns; say why first.
int connectionLost(Display*) {
  std::fputs("kantrell: lost the connection to the X server\n", stderr);
  _exit(1);
}

}  // namespace

X11Connection::X11Connection() {
  const char* name = std::getenv("DISPLAY");
  if (name == nullptr || *name == '\0') return;
  int event = 0, error = 0, reason = 0;
  int major = XkbMajorVersion, minor = XkbMinorVersion;
  display_ = XkbOpenDisplay(nullptr, &event, &error, &major, &minor, &reason);
  if (display_ == nullptr) {
    // The library refuses a server without XKB only after it reached it.
    outcome_ = reason == XkbOD_NonXkbServer || reason == XkbOD_BadServerVersion
                   ? Outcome::NoXkb
                   : Outcome::Unreachable;
    return;
  }
  XSetErrorHandler(ignoreProtocolError);
  XSetIOErrorHandler(connectionLost);
  outcome_ = Outcome::Open;
}

X11Connection::~X11Connection() {
  if (display_ != nullptr) XCloseDisplay(display_);
}

}  // namespace kantrell
