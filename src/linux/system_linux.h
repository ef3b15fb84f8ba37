// The Linux adapters of the wait and of the clock.
#pragma once

#include "core/delay.h"
#include "toolkit/clock.h"

namespace kantrell {

class LinuxTimer final : public Timer {
 public:
  // Linux timers are precise to well under a millisecond already: nothing to raise.
  void raiseResolutionToOneMs() override {}
  void sleepMs(std::uint32_t count) override;
};

// The monotonic clock, in nanoseconds; it never jumps with the wall clock.
class MonotonicCounter final : public PerformanceCounter {
 public:
  bool frequency(std::int64_t& ticksPerSecond) override;
  std::int64_t counter() override;
  std::uint32_t tickCount() override;
};

}  // namespace kantrell
