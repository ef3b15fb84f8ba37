// The millisecond clock of the status display.
#pragma once

#include <cstdint>

namespace kantrell {

class Clock {
 public:
  virtual ~Clock() = default;
  // Milliseconds on a clock that starts with the first reading.
  virtual std::int64_t clockMs() = 0;
};

// A high-resolution counter with a millisecond tick count to fall back on.
class PerformanceCounter {
 public:
  virtual ~PerformanceCounter() = default;
  // QueryPerformanceFrequency: false when the counter is not available.
  virtual bool frequency(std::int64_t& ticksPerSecond) = 0;
  // QueryPerformanceCounter; 0 when it cannot be read.
  virtual std::int64_t counter() = 0;
  // GetTickCount: milliseconds since the system started, wrapping every 2^32 ms.
  virtual std::uint32_t tickCount() = 0;
};

// The counter in whole milliseconds since the first reading, or the tick count where the counter
// is not usable.
class CounterClock final : public Clock {
 public:
  explicit CounterClock(PerformanceCounter& counter) : counter_(counter) {}

  // The first reading sets the origin: it and later readings are whole milliseconds since then.
  // Below 1000 counter ticks per second the clock falls back to the tick count, extended past
  // its 49.7-day wrap so that it never runs backwards.
  std::int64_t clockMs() override;

 private:
  std::int64_t fallbackMs();

  PerformanceCounter& counter_;
  // Truncated: the clock runs slightly fast unless the frequency is a multiple of 1000.
  std::int64_t ticksPerMs_ = 0;
  std::int64_t originCount_ = 0;
  std::uint32_t lastTick_ = 0;
  std::int64_t tickWraps_ = 0;
};

}  // namespace kantrell
