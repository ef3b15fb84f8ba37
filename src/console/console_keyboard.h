// The lock keys of a Linux virtual console: its keyboard lock flags, as setleds changes them.
// The arithmetic here is portable; the ioctl calls are behind the LedFlags port.
#pragma once

#include <cstdint>

#include "core/lock_keys.h"

namespace kantrell {

// The flag byte of KDGKBLED and KDSKBLED: the lock flags in the low three bits, the console's
// default flags (what a reset restores) in bits 4 to 6.
inline constexpr std::uint8_t kLedScrollLock = 0x01;  // LED_SCR
inline constexpr std::uint8_t kLedNumLock = 0x02;     // LED_NUM
inline constexpr std::uint8_t kLedCapsLock = 0x04;    // LED_CAP
inline constexpr std::uint8_t kLedFlagBits = 0x07;
inline constexpr std::uint8_t kLedDefaultBits = 0x70;

// The console's flags as the kernel reads and sets them.
class LedFlags {
 public:
  virtual ~LedFlags() = default;
  // KDGKBLED: false when the flags cannot be read.
  virtual bool read(std::uint8_t& flags) = 0;
  // KDSKBLED: false when they cannot be set.
  virtual bool write(std::uint8_t flags) = 0;
};

// A key reads as toggled on or off; held-down keys cannot be seen on a console. A press changes
// nothing; its release flips the key's flag, leaving the other flags and the default flags as
// they are. A key whose flags cannot be read reads as held down, so that nothing is sent to it.
class ConsoleKeyboard final : public Keyboard {
 public:
  explicit ConsoleKeyboard(LedFlags& flags) : flags_(flags) {}

  std::uint16_t keyState(std::uint8_t virtualKey) override;
  void sendKeyEvent(std::uint8_t virtualKey, std::uint8_t scanCode, std::uint32_t flags) override;

 private:
  LedFlags& flags_;
};

// The console flag of a virtual key; 0 for a key that is no lock key.
std::uint8_t ledFlagOf(std::uint8_t virtualKey);

}  // namespace kantrell
