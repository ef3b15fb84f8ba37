// The lock keys as the X server keeps them: Caps Lock is the locked Lock modifier, Num Lock the
// locked modifier Num_Lock is bound to, Scroll Lock the "Scroll Lock" indicator.
#pragma once

#include <X11/Xlib.h>

#include <cstdint>
#include <vector>

#include "core/lock_keys.h"

namespace kantrell {

class X11Keyboard final : public Keyboard {
 public:
  explicit X11Keyboard(Display* display);

  // Reads the keymap as the server has it at this moment (a session may still be setting it up
  // while kantrell waits), then the key: bit 0 while its lock is on, 0xFF80 while a keycode that
  // carries it is down.
  std::uint16_t keyState(std::uint8_t virtualKey) override;
  // A press and a release of the key through XTest, the path of a real key press. When the pair
  // leaves the state as it was (no keycode for the key, or a keymap that gives it no lock action,
  // as the usual ones do for Scroll Lock), the release sets the state through XKB instead. The
  // connection is synchronised before the next key is read.
  void sendKeyEvent(std::uint8_t virtualKey, std::uint8_t scanCode, std::uint32_t flags) override;

 private:
  // What the last reading found out about one key.
  struct LockKey {
    KeySym keysym = NoSymbol;
    Atom indicator = None;          // where the state lives when no modifier carries it
    unsigned modifiers = 0;         // the real modifiers that carry the lock; 0: the indicator does
    std::vector<KeyCode> keycodes;  // the keys that carry the keysym
    bool onBeforePress = false;
  };

  LockKey* lockKeyOf(std::uint8_t virtualKey);
  void readKeymap(LockKey& key);
  bool isOn(const LockKey& key);
  bool isHeld(const LockKey& key);
  void setOn(const LockKey& key, bool on);

  Display* display_;
  bool xtest_ = false;
  LockKey num_, scroll_, caps_;
};

}  // namespace kantrell
