#include "x11/keyboard_x11.h"

#include <X11/XKBlib.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>

#include <cstring>

namespace kantrell {

unsigned numLockModifiers(Display* display) {
  unsigned modifiers = XkbKeysymToModifiers(display, XK_Num_Lock);
  if (modifiers != 0) return modifiers;
  // No key carries Num_Lock; the keymap may still name a NumLock virtual modifier.
  XkbDescPtr keymap = XkbGetMap(display, XkbVirtualModsMask, XkbUseCoreKbd);
  if (keymap == nullptr) return 0;
  if (XkbGetNames(display, XkbVirtualModNamesMask, keymap) == Success && keymap->names != nullptr) {
    const Atom name = XInternAtom(display, "NumLock", False);
    for (int index = 0; index < XkbNumVirtualMods; ++index) {
      if (keymap->names->vmods[index] != name) continue;
      unsigned real = 0;
      if (XkbVirtualModsToReal(keymap, 1u << index, &real)) modifiers = real;
      break;
    }
    XkbFreeNames(keymap, XkbVirtualModNamesMask, True);
  }
  XkbFreeKeyboard(keymap, 0, True);
  return modifiers;
}

X11Keyboard::X11Keyboard(Display* display) : display_(display) {
  int event = 0, error = 0, major = 0, minor = 0;
  xtest_ = XTestQueryExtension(display_, &event, &error, &major, &minor) == True;

  caps_.keysym = XK_Caps_Lock;
  caps_.modifiers = LockMask;
  num_.keysym = XK_Num_Lock;
  num_.modifiers = numLockModifiers(display_);
  if (num_.modifiers == 0) num_.indicator = XInternAtom(display_, "Num Lock", False);
  scroll_.keysym = XK_Scroll_Lock;
  scroll_.indicator = XInternAtom(display_, "Scroll Lock", False);
}

X11Keyboard::LockKey* X11Keyboard::lockKeyOf(std::uint8_t virtualKey) {
  switch (virtualKey) {
    case kVkNumLock:
      return &num_;
    case kVkScrollLock:
      return &scroll_;
    case kVkCapsLock:
      return &caps_;
    default:
      return nullptr;
  }
}

bool X11Keyboard::isOn(const LockKey& key) {
  if (key.modifiers != 0) {
    XkbStateRec state = {};
    if (XkbGetState(display_, XkbUseCoreKbd, &state) != Success) return false;
    return (state.locked_mods & key.modifiers) == key.modifiers;
  }
  Bool on = False;
  if (!XkbGetNamedIndicator(display_, key.indicator, nullptr, &on, nullptr, nullptr)) return false;
  return on == True;
}

bool X11Keyboard::isHeld(const LockKey& key) {
  char keys[32] = {};
  XQueryKeymap(display_, keys);
  int first = 0, last = 0;
  XDisplayKeycodes(display_, &first, &last);
  for (int keycode = first; keycode <= last; ++keycode) {
    const bool down = (keys[keycode / 8] & (1 << (keycode % 8))) != 0;
    if (down && XkbKeycodeToKeysym(display_, static_cast<KeyCode>(keycode), 0, 0) == key.keysym) {
      return true;
    }
  }
  return false;
}

void X11Keyboard::setOn(const LockKey& key, bool on) {
  if (key.modifiers != 0) {
    XkbLockModifiers(display_, XkbUseCoreKbd, key.modifiers, on ? key.modifiers : 0);
  } else {
    XkbSetNamedIndicator(display_, key.indicator, True, on ? True : False, False, nullptr);
  }
}

std::uint16_t X11Keyboard::keyState(std::uint8_t virtualKey) {
  LockKey* key = lockKeyOf(virtualKey);
  if (key == nullptr) return 0;
  const bool on = isOn(*key);
  key->onBeforePress = on;
  return static_cast<std::uint16_t>((isHeld(*key) ? 0xFF80 : 0) | (on ? 1 : 0));
}

void X11Keyboard::sendKeyEvent(std::uint8_t virtualKey, std::uint8_t, std::uint32_t flags) {
  LockKey* key = lockKeyOf(virtualKey);
  if (key == nullptr) return;
  const bool release = (flags & kKeyEventKeyUp) != 0;
  const KeyCode keycode = XKeysymToKeycode(display_, key->keysym);
  if (xtest_ && keycode != 0) {
    XTestFakeKeyEvent(display_, keycode, release ? False : True, CurrentTime);
  }
  if (!release) return;
  XSync(display_, False);
  if (isOn(*key) == key->onBeforePress) setOn(*key, !key->onBeforePress);
  XSync(display_, False);
}

}  // namespace kantrell
