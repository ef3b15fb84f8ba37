// The clock's counter over QueryPerformanceCounter and GetTickCount.
#pragma once

#include "toolkit/clock.h"

namespace kantrell {

class Win32PerformanceCounter final : public PerformanceCounter {
 public:
  bool frequency(std::int64_t& ticksPerSecond) override;
  std::int64_t counter() override;
  std::uint32_t tickCount() override;
};

}  // namespace kantrell
