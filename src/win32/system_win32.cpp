#include "win32/system_win32.h"

#include <windows.h>
// after windows.h, which it needs
#include <mmsystem.h>

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
  // Never lowered again: the resolution lasts until the process ends.
  timeBeginPeriod(1);
}

void Win32Timer::sleepMs(std::uint32_t count) { Sleep(count); }

Text processCommandLine() {
  // The raw line, not an argv already split by the C runtime's different quoting rules.
  return textFrom(GetCommandLineW());
}

}  // namespace kantrell
