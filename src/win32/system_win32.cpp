#include "win32/system_win32.h"

#include <windows.h>

#include "win32/system_dlls_win32.h"
#include "win32/text_win32.h"

namespace kantrell {

std::uint16_t Win32Keyboard::keyState(std::uint8_t virtualKey) {
  return static_cast<std::uint16_t>(GetKeyState(virtualKey));
}

void Win32Keyboard::sendKeyEvent(std::uint8_t virtualKey, std::uint8_t scanCode,
                                 std::uint32_t flags) {
  keybd_event(virtualKey, scanCode, flags, 0);
}

void Win32Timer::raiseResolutionToOneMs() {
  // The timer DLL is not one of the system's known DLLs, so it is bound here from the system
  // directory rather than imported. Without it the wait still happens, at the default resolution.
  using TimeBeginPeriodCall = UINT(WINAPI*)(UINT);
  HMODULE winmm = loadSystemDll(L"winmm.dll");
  if (winmm == nullptr) return;
  const auto timeBeginPeriod = reinterpret_cast<TimeBeginPeriodCall>(
      reinterpret_cast<void*>(GetProcAddress(winmm, "timeBeginPeriod")));
  // Never lowered again, and the DLL never freed: the resolution lasts until the process ends.
  if (timeBeginPeriod != nullptr) timeBeginPeriod(1);
}

void Win32Timer::sleepMs(std::uint32_t count) { Sleep(count); }

Text processCommandLine() {
  // The raw line, not an argv already split by the C runtime's different quoting rules.
  return textFrom(GetCommandLineW());
}

}  // namespace kantrell
