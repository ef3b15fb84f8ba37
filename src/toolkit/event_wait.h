// The event wait: the one way the program takes and handles window messages.
#pragma once

#include <cstdint>

namespace kantrell {

// What a toolkit makes of some window messages while it handles them; handed out by the
// following waits before any further message. Codes lie outside the range of message
// identifiers, and none is 0 or 1.
enum WindowEvent : std::int64_t {
  kEventActivated = 0x10002,
  kEventDeactivated,
  kEventClicked,
  kEventMoved,
  kEventSized,
  kEventCloseRequested,
  kEventRepainted,
};

class EventWait {
 public:
  virtual ~EventWait() = default;
  // Waits up to `timeoutMs` (-1: no limit, 0: no wait) for one window event or window message and
  // handles it. Gives 0 when nothing came, otherwise a code for what it took; never 1.
  virtual std::int64_t nextEvent(std::int32_t timeoutMs) = 0;
};

}  // namespace kantrell
