// Which way kantrell reaches the lock keys on Linux, decided from the facts of the session: the
// X server of an X11 session, the keyboard flags of a virtual console, or neither.
#pragma once

#include <string>

namespace kantrell {

enum class Backend { X11, Console, Refused };

// What a look at DISPLAY and the X server found.
enum class X11Status {
  NoDisplay,    // DISPLAY is not set
  Unreachable,  // the display cannot be opened
  NoXkb,        // the server has no XKB extension, so lock states cannot be read
  Usable,
};

// The facts, each looked at only when the ones before it leave the choice open.
class SessionFacts {
 public:
  virtual ~SessionFacts() = default;
  // WAYLAND_DISPLAY is set or XDG_SESSION_TYPE is "wayland".
  virtual bool waylandSession() = 0;
  virtual X11Status x11() = 0;
  // The display name as DISPLAY gives it, for messages.
  virtual std::string displayName() = 0;
  // The controlling terminal is a Linux virtual console.
  virtual bool virtualConsole() = 0;
};

struct BackendChoice {
  Backend backend = Backend::Refused;
  std::string refusal;  // with Backend::Refused: one line that says why and what would work
};

// Wayland first: there X11 calls would change only Xwayland's private state and report a success
// that is none. Then an X server with XKB, then a virtual console, else nothing.
BackendChoice chooseBackend(SessionFacts& facts);

}  // namespace kantrell
