#include "toolkit/clock.h"

namespace kantrell {

std::int64_t CounterClock::clockMs() {
  if (ticksPerMs_ == 0) {
    std::int64_t ticksPerSecond = 0;
    if (counter_.frequency(ticksPerSecond)) {
      ticksPerMs_ = ticksPerSecond / 1000;
      originCount_ = counter_.counter();
    }
    if (ticksPerMs_ <= 0) {
      ticksPerMs_ = 0;
      return fallbackMs();
    }
  }
  return (counter_.counter() - originCount_) / ticksPerMs_;
}

std::int64_t CounterClock::fallbackMs() {
  const std::uint32_t tick = counter_.tickCount();
  if (tick < lastTick_) ++tickWraps_;  // the 32-bit count wrapped to 0
  lastTick_ = tick;
  return (tickWraps_ << 32) + tick;
}

}  // namespace kantrell
