// The wait before any key is touched.
#pragma once

#include <cstdint>

namespace kantrell {

// The system timer as the wait sees it.
class Timer {
 public:
  virtual ~Timer() = default;
  // timeBeginPeriod(1): sleeps end within about a millisecond of their due time.
  virtual void raiseResolutionToOneMs() = 0;
  virtual void sleepMs(std::uint32_t count) = 0;
};

// The longest wait: 4,294,967 s, the largest whole number of seconds below 2^32 ms. No wait
// ever reaches 0xFFFFFFFF, which Sleep takes as "forever".
constexpr std::int64_t kLongestWaitMs = 4'294'967'000;

// The count handed to Sleep for a requested wait: a negative wait is no wait, a longer one is
// held at kLongestWaitMs.
std::uint32_t sleepCountFor(std::int64_t waitMs);

class Delay {
 public:
  explicit Delay(Timer& timer) : timer_(timer) {}

  // Raises the timer resolution on the first call (it stays raised until the process ends), then
  // sleeps. A wait of 0 still sleeps: the thread gives up the rest of its time slice.
  void delayMs(std::int64_t waitMs);

 private:
  Timer& timer_;
  bool resolutionRaised_ = false;
};

}  // namespace kantrell
