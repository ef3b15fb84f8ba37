#include "x11/keyboard_x11.h"

#include <X11/XKBlib.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>

#include <memory>

namespace kantrell {

namespace {

struct KeymapRelease {
  void operator()(XkbDescPtr keymap) const { XkbFreeKeyboard(keymap, 0, True); }
};
using Keymap = std::unique_ptr<XkbDescRec, KeymapRelease>;

// The real modifiers of the keymap's NumLock virtual modifier; 0 when it names none.
unsigned numLockVirtualModifier(Display* display, XkbDescPtr keymap) {
  unsigned real = 0;
  if (XkbGetNames(display, XkbVirtualModNamesMask, keymap) != Success || keymap->names == nullptr) {
    return 0;
  }
  const Atom name = XInternAtom(display, "NumLock", False);
  for (int index = 0; index < XkbNumVirtualMods; ++index) {
    if (keymap->names->vmods[index] != name) continue;
    if (!XkbVirtualModsToReal(keymap, 1u << index, &real)) real = 0;
    break;
  }
  return real;
}

}  // namespace

X11Keyboard::X11Keyboard(Display* display) : display_(display) {
  int event = 0, error = 0, major = 0, minor = 0;
  xtest_ = XTestQueryExtension(display_, &event, &error, &major, &minor) == True;
  num_.keysym = XK_Num_Lock;
  num_.indicator = XInternAtom(display_, "Num Lock", False);
  scroll_.keysym = XK_Scroll_Lock;
  scroll_.indicator = XInternAtom(display_, "Scroll Lock", False);
  caps_.keysym = XK_Caps_Lock;
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

void X11Keyboard::readKeymap(LockKey& key) {
  key.keycodes.clear();
  unsigned bound = 0;  // the modifiers the keys carrying the keysym are bound to
  const Keymap keymap(XkbGetMap(
      display_, XkbKeySymsMask | XkbModifierMapMask | XkbVirtualModsMask | XkbKeyTypesMask,
      XkbUseCoreKbd));
  if (keymap) {
    for (int keycode = keymap->min_key_code; keycode <= keymap->max_key_code; ++keycode) {
      bool carries = false;
      for (int group = 0; group < XkbKeyNumGroups(keymap.get(), keycode) && !carries; ++group) {
        for (int level = 0; level < XkbKeyGroupWidth(keymap.get(), keycode, group); ++level) {
          carries = carries || XkbKeySymEntry(keymap.get(), keycode, level, group) == key.keysym;
        }
      }
      if (!carries) continue;
      key.keycodes.push_back(static_cast<KeyCode>(keycode));
      bound |= keymap->map->modmap[keycode];
    }
  }
  if (key.keysym == XK_Caps_Lock) {
    key.modifiers = LockMask;  // Caps Lock is the core Lock modifier, whatever key carries it
  } else if (key.keysym == XK_Num_Lock) {
    key.modifiers = bound != 0 || !keymap ? bound : numLockVirtualModifier(display_, keymap.get());
  } else {
    key.modifiers = 0;  // Scroll Lock: the indicator
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
  for (KeyCode keycode : key.keycodes) {
    if ((keys[keycode / 8] & (1 << (keycode % 8))) != 0) return true;
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
  readKeymap(*key);
  const bool on = isOn(*key);
  key->onBeforePress = on;
  return static_cast<std::uint16_t>((isHeld(*key) ? 0xFF80 : 0) | (on ? 1 : 0));
}

void X11Keyboard::sendKeyEvent(std::uint8_t virtualKey, std::uint8_t, std::uint32_t flags) {
  LockKey* key = lockKeyOf(virtualKey);
  if (key == nullptr) return;
  const bool release = (flags & kKeyEventKeyUp) != 0;
  if (xtest_ && !key->keycodes.empty()) {
    XTestFakeKeyEvent(display_, key->keycodes.front(), release ? False : True, CurrentTime);
  }
  if (!release) return;
  XSync(display_, False);
  if (isOn(*key) == key->onBeforePress) setOn(*key, !key->onBeforePress);
  XSync(display_, False);
}

}  // namespace kantrell
