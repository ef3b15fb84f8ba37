// The status window: a small, centred, topmost window that lists the requested key words for
// five to about six seconds and ignores every user action.
#pragma once

#include <cstdint>

#include "core/lock_request.h"
#include "core/text.h"
#include "status/status_style.h"
#include "toolkit/clock.h"
#include "toolkit/event_wait.h"
#include "toolkit/window_toolkit.h"

namespace kantrell {

inline constexpr std::uint32_t kStatusWindowStyle = 0x00C00000;  // WS_CAPTION alone
inline constexpr Size kStatusClientSize{170, 90};
inline constexpr Point kStatusCreatedAt{190, 110};  // moved to the centre before it shows

// WS_CHILD | WS_VISIBLE | WS_GROUP | SS_NOPREFIX, right- or left-aligned.
inline constexpr std::uint32_t kLabelStyle = 0x50020082;
inline constexpr std::uint32_t kValueStyle = 0x50020080;

inline constexpr std::int64_t kDisplayMs = 5000;
inline constexpr std::int32_t kWaitSliceMs = 1000;

// The names of the three keys, in the order of their rows.
inline constexpr const char16_t* kKeyLabels[3] = {u"NUM-Lock:", u"SCROLL-Lock:", u"CAPS-Lock:"};

// "Statusmeldung: Kantrell V" directly followed by the version.
Text statusTitle(const Text& versionText);

// The left column: the key names, one per line with an empty line between them.
Text labelText();

// The right column: the three key words upper-cased, laid out as the key names are.
Text valueText(const LockRequest& request);

// Where a window of the given outer size stands centred on a screen area; at the area's edge on
// an axis where it does not fit.
Point centredPosition(Size window, Rect screen);

class StatusWindow {
 public:
  StatusWindow(WindowToolkit& toolkit, EventWait& events, Clock& clock)
      : toolkit_(toolkit), events_(events), clock_(clock) {}

  // Builds and shows the window with both controls. False when the window cannot be created.
  bool open(const LockRequest& request, const StatusStyle& style, const Text& versionText);

  // Handles events in slices of at most a second until 5000 clock milliseconds have passed since
  // the first reading. Only the clock ends it: no event or user action does.
  void holdOpen();

  void close();

 private:
  void addColumn(const StaticSpec& wanted, Colour text, Colour back, FontId font);

  WindowToolkit& toolkit_;
  EventWait& events_;
  Clock& clock_;
  WindowId window_ = 0;
};

}  // namespace kantrell
