#include "linux/system_linux.h"

#include <cerrno>
#include <ctime>

namespace kantrell {

namespace {

constexpr std::int64_t kNanosecondsPerSecond = 1'000'000'000;

std::int64_t monotonicNs() {
  timespec now = {};
  if (clock_gettime(CLOCK_MONOTONIC, &now) != 0) return 0;
  return std::int64_t{now.tv_sec} * kNanosecondsPerSecond + now.tv_nsec;
}

}  // namespace

void LinuxTimer::sleepMs(std::uint32_t count) {
  // To an absolute deadline, so that a signal that interrupts the sleep does not lengthen it.
  timespec deadline = {};
  clock_gettime(CLOCK_MONOTONIC, &deadline);
  deadline.tv_sec += static_cast<std::time_t>(count / 1000);
  deadline.tv_nsec += static_cast<long>(count % 1000) * 1'000'000;
  if (deadline.tv_nsec >= kNanosecondsPerSecond) {
    deadline.tv_sec += 1;
    deadline.tv_nsec -= kNanosecondsPerSecond;
  }
  while (clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &deadline, nullptr) == EINTR) {
  }
}

bool MonotonicCounter::frequency(std::int64_t& ticksPerSecond) {
  timespec probe = {};
  const bool available = clock_gettime(CLOCK_MONOTONIC, &probe) == 0;
  ticksPerSecond = available ? kNanosecondsPerSecond : 0;
  return available;
}

std::int64_t MonotonicCounter::counter() { return monotonicNs(); }

std::uint32_t MonotonicCounter::tickCount() {
  return static_cast<std::uint32_t>(monotonicNs() / 1'000'000);
}

}  // namespace kantrell
