#include "linux/backend_choice.h"

namespace kantrell {

BackendChoice chooseBackend(SessionFacts& facts) {
  if (facts.waylandSession()) {
    return {Backend::Refused,
            "kantrell: this is a Wayland session, whose compositor keeps the lock keys to itself; "
            "X11 would change only Xwayland's copy. Run kantrell in an X11 session or on a Linux "
            "virtual console."};
  }
  const X11Status x11 = facts.x11();
  if (x11 == X11Status::Usable) return {Backend::X11, {}};
  if (facts.virtualConsole()) return {Backend::Console, {}};

  std::string display = "\"";
  display += facts.displayName();
  display += '"';
  switch (x11) {
    case X11Status::NoDisplay:
      return {Backend::Refused,
              "kantrell: DISPLAY is not set and the terminal is no Linux virtual console. Run "
              "kantrell in an X11 session or on a Linux virtual console."};
    case X11Status::Unreachable:
      return {Backend::Refused, "kantrell: cannot open the X display " + display +
                                    " and the terminal is no Linux virtual console. Check DISPLAY "
                                    "and XAUTHORITY, or run kantrell on a Linux virtual console."};
    case X11Status::NoXkb:
    case X11Status::Usable:
      break;
  }
  return {Backend::Refused, "kantrell: the X server at " + display +
                                " has no XKB extension and the terminal is no Linux virtual "
                                "console. Run kantrell on an X server with XKB or on a Linux "
                                "virtual console."};
}

}  // namespace kantrell
