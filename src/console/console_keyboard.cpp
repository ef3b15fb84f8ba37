#include "console/console_keyboard.h"

namespace kantrell {

namespace {

constexpr std::uint16_t kHeldDown = 0xFF80;  // as GetKeyState reports a key that is down

}  // namespace

std::uint8_t ledFlagOf(std::uint8_t virtualKey) {
  switch (virtualKey) {
    case kVkNumLock:
      return kLedNumLock;
    case kVkScrollLock:
      return kLedScrollLock;
    case kVkCapsLock:
      return kLedCapsLock;
    default:
      return 0;
  }
}

std::uint16_t ConsoleKeyboard::keyState(std::uint8_t virtualKey) {
  std::uint8_t flags = 0;
  const std::uint8_t flag = ledFlagOf(virtualKey);
  if (flag == 0 || !flags_.read(flags)) return kHeldDown;
  return (flags & flag) != 0 ? 1 : 0;
}

void ConsoleKeyboard::sendKeyEvent(std::uint8_t virtualKey, std::uint8_t, std::uint32_t flags) {
  const std::uint8_t flag = ledFlagOf(virtualKey);
  if (flag == 0 || (flags & kKeyEventKeyUp) == 0) return;
  std::uint8_t current = 0;
  if (!flags_.read(current)) return;
  // Only the lock flags and the default flags exist; the kernel refuses any other bit.
  flags_.write(static_cast<std::uint8_t>((current ^ flag) & (kLedFlagBits | kLedDefaultBits)));
}

}  // namespace kantrell
