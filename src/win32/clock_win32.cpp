#include "win32/clock_win32.h"

#include <windows.h>

namespace kantrell {

bool Win32PerformanceCounter::frequency(std::int64_t& ticksPerSecond) {
  LARGE_INTEGER value = {};
  const bool available = QueryPerformanceFrequency(&value) != FALSE;
  ticksPerSecond = available ? value.QuadPart : 0;
  return available;
}

std::int64_t Win32PerformanceCounter::counter() {
  LARGE_INTEGER value = {};  // stays 0 when the counter cannot be read
  QueryPerformanceCounter(&value);
  return value.QuadPart;
}

std::uint32_t Win32PerformanceCounter::tickCount() {
  // Deliberately the 32-bit count: the clock itself carries it past the wrap.
  return GetTickCount();
}

}  // namespace kantrell
