// The Win32 adapters of the run's ports: the keyboard, the timer and the command line.
#pragma once

#include "core/delay.h"
#include "core/lock_keys.h"
#include "core/text.h"

namespace kantrell {

class Win32Keyboard final : public Keyboard {
 public:
  std::uint16_t keyState(std::uint8_t virtualKey) override;
  void sendKeyEvent(std::uint8_t virtualKey, std::uint8_t scanCode, std::uint32_t flags) override;
};

class Win32Timer final : public Timer {
 public:
  void raiseResolutionToOneMs() override;
  void sleepMs(std::uint32_t count) override;
};

// The whole command line of this process as it was received, program name included.
Text processCommandLine();

}  // namespace kantrell
