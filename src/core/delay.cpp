#include "core/delay.h"

#include <algorithm>

namespace kantrell {

std::uint32_t sleepCountFor(std::int64_t waitMs) {
  return static_cast<std::uint32_t>(std::clamp<std::int64_t>(waitMs, 0, kLongestWaitMs));
}

void Delay::delayMs(std::int64_t waitMs) {
  if (!resolutionRaised_) {
    timer_.raiseResolutionToOneMs();
    resolutionRaised_ = true;
  }
  timer_.sleepMs(sleepCountFor(waitMs));
}

}  // namespace kantrell
