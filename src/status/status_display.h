// How the run shows what was asked for, once the keys are set: a status window for five seconds
// where there are windows, a few lines of text where there are none.
#pragma once

#include <array>

#include "core/lock_request.h"
#include "core/text.h"
#include "status/status_style.h"
#include "toolkit/clock.h"
#include "toolkit/event_wait.h"
#include "toolkit/window_toolkit.h"

namespace kantrell {

class StatusDisplay {
 public:
  virtual ~StatusDisplay() = default;
  // Shows the requested words and returns when the display is over.
  virtual void show(const LockRequest& request, const StatusStyle& style,
                    const Text& versionText) = 0;
};

// The status window: opened, held for five to about six seconds, closed. Nothing is shown when
// the window cannot be opened.
class WindowStatusDisplay final : public StatusDisplay {
 public:
  WindowStatusDisplay(WindowToolkit& toolkit, EventWait& events, Clock& clock)
      : toolkit_(toolkit), events_(events), clock_(clock) {}

  void show(const LockRequest& request, const StatusStyle& style, const Text& versionText) override;

 private:
  WindowToolkit& toolkit_;
  EventWait& events_;
  Clock& clock_;
};

// The window's two columns as three lines of text: each key name right-aligned, as in the
// window, then a blank and the requested word upper-cased; a missing word leaves only the name.
std::array<Text, 3> statusLines(const LockRequest& request);

}  // namespace kantrell
