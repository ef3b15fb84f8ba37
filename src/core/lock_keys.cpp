#include "core/lock_keys.h"

namespace kantrell {

std::int8_t syncLockKey(Keyboard& keyboard, std::uint8_t virtualKey, const Text& word) {
  // Only the low byte counts: a key held down reads 0x80 or 0x81 there and is left alone.
  const auto state = static_cast<std::int8_t>(keyboard.keyState(virtualKey) & 0xFF);
  const bool toggle =
      (state == 1 && textEquals(word, u"off")) || (state == 0 && textEquals(word, u"on"));
  if (toggle) {
    keyboard.sendKeyEvent(virtualKey, kLockScanCode, 0);
    keyboard.sendKeyEvent(virtualKey, kLockScanCode, kKeyEventKeyUp);
  }
  return state;
}

LockStates syncLockKeys(Keyboard& keyboard, const LockRequest& request) {
  LockStates states;
  states.numState = syncLockKey(keyboard, kVkNumLock, request.numWord);
  states.scrollState = syncLockKey(keyboard, kVkScrollLock, request.scrollWord);
  states.capsState = syncLockKey(keyboard, kVkCapsLock, request.capsWord);
  return states;
}

}  // namespace kantrell
