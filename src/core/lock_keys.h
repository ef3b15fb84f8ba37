// Bringing Num Lock, Scroll Lock and Caps Lock into the requested states.
#pragma once

#include <cstdint>

#include "core/lock_request.h"
#include "core/text.h"

namespace kantrell {

constexpr std::uint8_t kVkNumLock = 0x90;     // VK_NUMLOCK
constexpr std::uint8_t kVkScrollLock = 0x91;  // VK_SCROLL
constexpr std::uint8_t kVkCapsLock = 0x14;    // VK_CAPITAL

constexpr std::uint8_t kLockScanCode = 1;    // sent for all three keys, not the keys' own codes
constexpr std::uint32_t kKeyEventKeyUp = 2;  // KEYEVENTF_KEYUP

// The keyboard as the synchronisation sees it.
class Keyboard {
 public:
  virtual ~Keyboard() = default;
  // GetKeyState: bit 15 while the key is down, bit 0 while it is toggled on.
  virtual std::uint16_t keyState(std::uint8_t virtualKey) = 0;
  // One synthesized key event (keybd_event with extra information 0).
  virtual void sendKeyEvent(std::uint8_t virtualKey, std::uint8_t scanCode,
                            std::uint32_t flags) = 0;
};

// The sampled states, as the low byte of GetKeyState read as signed: 0 off, 1 on, -128 and -127
// while the key was held down.
struct LockStates {
  std::int8_t numState = 0;
  std::int8_t scrollState = 0;
  std::int8_t capsState = 0;
};

// Samples one key and, when it is exactly off and the word is "on" or exactly on and the word is
// "off", sends one press and one release. Gives back the sampled state.
std::int8_t syncLockKey(Keyboard& keyboard, std::uint8_t virtualKey, const Text& word);

// Num Lock, then Scroll Lock, then Caps Lock; each sampled right before its own decision.
LockStates syncLockKeys(Keyboard& keyboard, const LockRequest& request);

}  // namespace kantrell
