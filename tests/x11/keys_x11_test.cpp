// kantrell against a real X server (Xvfb): the keys as the server itself reports them, the
// refusals, and the words a user types.
// GoogleTest before Xlib, whose macros (None, Bool) would break its declarations.
#include <gtest/gtest.h>

#include <X11/XKBlib.h>
#include <X11/Xlib.h>
#include <X11/keysym.h>

#include <array>
#include <string>
#include <vector>

#include "core/version.h"
#include "x11_support.h"

namespace x11test {
namespace {

const std::string kKantrell = KANTRELL_BINARY;

class X11Test : public testing::Test {
 protected:
  static void SetUpTestSuite() { display_ = openDisplay(); }
  static void TearDownTestSuite() {
    if (display_ != nullptr) XCloseDisplay(display_);
    display_ = nullptr;
  }
  void SetUp() override {
    ASSERT_NE(display_, nullptr) << "no X server on DISPLAY";
    allOff();
  }
  void TearDown() override { allOff(); }

  static void allOff() {
    for (Lock lock : {Lock::Num, Lock::Scroll, Lock::Caps}) setOn(display_, lock, false);
  }
  static std::array<bool, 3> states() {
    return {isOn(display_, Lock::Num), isOn(display_, Lock::Scroll), isOn(display_, Lock::Caps)};
  }

  static Display* display_;
};

Display* X11Test::display_ = nullptr;

const char* nameOf(Lock lock) {
  return lock == Lock::Num ? "Num" : lock == Lock::Scroll ? "Scroll" : "Caps";
}

// One cell of the decision table for one key, against the server's real state.
struct Cell {
  Lock lock;
  bool on;    // the state the test sets first
  bool held;  // the key is held down (through XTest) while kantrell reads it
  std::string word;
  bool after;  // the state the server reports afterwards
};

void PrintTo(const Cell& cell, std::ostream* out) {
  *out << nameOf(cell.lock) << (cell.on ? " on" : " off") << (cell.held ? " held" : "") << ", \""
       << cell.word << '"';
}

std::vector<Cell> decisionTable() {
  std::vector<Cell> cells;
  for (Lock lock : {Lock::Num, Lock::Scroll, Lock::Caps}) {
    for (bool on : {false, true}) {
      for (const char* word : {"on", "off", "ON", "", "x"}) {
        const std::string w = word;
        const bool after = (w == "on" || w == "ON") ? true : w == "off" ? false : on;
        cells.push_back({lock, on, false, w, after});
      }
      for (const char* word : {"on", "off"}) cells.push_back({lock, on, true, word, on});
    }
  }
  return cells;
}

class DecisionTest : public X11Test, public testing::WithParamInterface<Cell> {};

TEST_P(DecisionTest, TheServerReportsTheRequestedState) {
  const Cell& cell = GetParam();
  if (cell.held) press(display_, cell.lock, true);  // Caps and Num Lock toggle at the press...
  setOn(display_, cell.lock, cell.on);              // ...so the state is set after it
  std::vector<std::string> words = {"", "", ""};
  words[static_cast<std::size_t>(cell.lock)] = cell.word;

  const Result result = run(kKantrell, words);
  const bool after = isOn(display_, cell.lock);
  if (cell.held) press(display_, cell.lock, false);

  EXPECT_TRUE(result.exited);
  EXPECT_EQ(result.exitCode, 0);
  EXPECT_EQ(result.out + result.err, "") << "silent";
  EXPECT_EQ(after, cell.after);
  for (Lock other : {Lock::Num, Lock::Scroll, Lock::Caps}) {
    if (other != cell.lock) {
      EXPECT_FALSE(isOn(display_, other)) << nameOf(other) << " untouched";
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Cells, DecisionTest, testing::ValuesIn(decisionTable()));

TEST_F(X11Test, AllThreeKeysInOneRunAndBack) {
  EXPECT_EQ(run(kKantrell, {"on", "ON", "On"}).exitCode, 0);
  EXPECT_EQ(states(), (std::array<bool, 3>{true, true, true}));
  EXPECT_EQ(run(kKantrell, {"off", "on", "OFF", "0", "", "more", "words"}).exitCode, 0);
  EXPECT_EQ(states(), (std::array<bool, 3>{false, true, false}));
}

TEST_F(X11Test, TheKeysAreReadOnlyAfterTheWait) {
  // Caps Lock goes on during the wait; kantrell must see that and turn it off.
  const double start = nowMs();
  const Spawned spawned = spawn(kKantrell, {"on", "", "off", "1"});
  usleep(300'000);
  EXPECT_FALSE(isOn(display_, Lock::Num)) << "nothing before the wait is over";
  setOn(display_, Lock::Caps, true);
  const Result result = finish(spawned);
  EXPECT_EQ(result.exitCode, 0);
  EXPECT_GE(nowMs() - start, 1000.0);
  EXPECT_LT(nowMs() - start, 4000.0);
  EXPECT_EQ(states(), (std::array<bool, 3>{true, false, false}));
}

TEST_F(X11Test, ANegativeWaitIsNoWait) {
  const Result result = run(kKantrell, {"on", "", "", "-5"});
  EXPECT_EQ(result.exitCode, 0);
  EXPECT_LT(result.ms, 2000.0);
  EXPECT_TRUE(isOn(display_, Lock::Num));
}

// Takes a keysym off its key for as long as it lives, as a keymap without that key would be.
class KeysymRemoved {
 public:
  KeysymRemoved(Display* display, KeySym keysym)
      : display_(display), keycode_(XKeysymToKeycode(display, keysym)) {
    if (keycode_ == 0) return;
    saved_ = XGetKeyboardMapping(display_, keycode_, 1, &perKeycode_);
    std::vector<KeySym> none(static_cast<std::size_t>(perKeycode_), NoSymbol);
    XChangeKeyboardMapping(display_, keycode_, perKeycode_, none.data(), 1);
    XSync(display_, False);
  }
  ~KeysymRemoved() {
    if (saved_ == nullptr) return;
    XChangeKeyboardMapping(display_, keycode_, perKeycode_, saved_, 1);
    XSync(display_, False);
    XFree(saved_);
  }
  KeysymRemoved(const KeysymRemoved&) = delete;
  KeysymRemoved& operator=(const KeysymRemoved&) = delete;
  bool removed() const { return saved_ != nullptr; }

 private:
  Display* display_;
  KeyCode keycode_;
  int perKeycode_ = 0;
  KeySym* saved_ = nullptr;
};

// A keymap in which Caps Lock has no key at all: no XTest press can reach it, XKB still can.
TEST_F(X11Test, AKeyWithoutKeycodeIsStillSetThroughXkb) {
  bool on = false;
  Result result;
  {
    const KeysymRemoved noCapsLockKey(display_, XK_Caps_Lock);
    ASSERT_TRUE(noCapsLockKey.removed());
    ASSERT_EQ(XKeysymToKeycode(display_, XK_Caps_Lock), 0);
    result = run(kKantrell, {"", "", "on"});
    on = isOn(display_, Lock::Caps);
  }
  EXPECT_EQ(result.exitCode, 0);
  EXPECT_TRUE(on);
}

// Moves Num_Lock's key from one modifier to another for as long as it lives, as a session's
// keymap set-up may do while kantrell waits.
class NumLockRebound {
 public:
  NumLockRebound(Display* display, int from, int to) : display_(display) {
    saved_ = XGetModifierMapping(display_);
    XModifierKeymap* changed = XGetModifierMapping(display_);
    const KeyCode numLock = XKeysymToKeycode(display_, XK_Num_Lock);
    const int perModifier = changed->max_keypermod;
    for (int i = 0; i < perModifier; ++i) {
      KeyCode& slot = changed->modifiermap[from * perModifier + i];
      if (slot == numLock) slot = 0;
    }
    changed = XInsertModifiermapEntry(changed, numLock, to);
    XSetModifierMapping(display_, changed);
    XFreeModifiermap(changed);
    XSync(display_, False);
  }
  ~NumLockRebound() {
    XSetModifierMapping(display_, saved_);
    XFreeModifiermap(saved_);
    XSync(display_, False);
  }
  NumLockRebound(const NumLockRebound&) = delete;
  NumLockRebound& operator=(const NumLockRebound&) = delete;

 private:
  Display* display_;
  XModifierKeymap* saved_ = nullptr;
};

TEST_F(X11Test, TheKeymapIsReadAfterTheWaitToo) {
  ASSERT_EQ(XkbKeysymToModifiers(display_, XK_Num_Lock), static_cast<unsigned>(Mod2Mask));
  unsigned locked = 0;
  {
    const Spawned spawned = spawn(kKantrell, {"on", "", "", "1"});
    usleep(300'000);
    const NumLockRebound rebound(display_, Mod2MapIndex, Mod3MapIndex);  // during the wait
    const Result result = finish(spawned);
    EXPECT_EQ(result.exitCode, 0);
    XkbStateRec state = {};
    XkbGetState(display_, XkbUseCoreKbd, &state);
    locked = state.locked_mods;
    XkbLockModifiers(display_, XkbUseCoreKbd, Mod2Mask | Mod3Mask, 0);
  }
  EXPECT_EQ(locked & (Mod2Mask | Mod3Mask), static_cast<unsigned>(Mod3Mask))
      << "Num Lock's modifier as the keymap has it when the key is read, and no other";
}

TEST_F(X11Test, HelpAndVersionAsTheOnlyWord) {
  const Result help = run(kKantrell, {"--help"});
  EXPECT_EQ(help.exitCode, 0);
  EXPECT_EQ(help.out.rfind("Usage: kantrell [on|off] [on|off] [on|off] [seconds] [s]\n", 0), 0u);
  EXPECT_EQ(help.err, "");
  const Result version = run(kKantrell, {"--version"});
  EXPECT_EQ(version.exitCode, 0);
  EXPECT_EQ(version.out, "kantrell " KANTRELL_VERSION_TEXT "\n");
  // Anywhere else it is just a word that is neither on nor off.
  EXPECT_EQ(run(kKantrell, {"--version", "on"}).out, "");
  EXPECT_EQ(states(), (std::array<bool, 3>{false, true, false}));
}

struct Refusal {
  const char* why;
  std::vector<EnvChange> env;
  const char* says;
};

void PrintTo(const Refusal& refusal, std::ostream* out) { *out << refusal.why; }

class RefusalTest : public X11Test, public testing::WithParamInterface<Refusal> {};

TEST_P(RefusalTest, ChangesNothingSaysWhyAndExitsOne) {
  const Result result = run(kKantrell, {"on", "on", "on"}, GetParam().env);
  EXPECT_EQ(result.exitCode, 1);
  EXPECT_EQ(result.out, "");
  EXPECT_EQ(result.err.rfind("kantrell: ", 0), 0u) << result.err;
  EXPECT_NE(result.err.find(GetParam().says), std::string::npos) << result.err;
  EXPECT_EQ(result.err.find('\n'), result.err.size() - 1) << "one line";
  EXPECT_EQ(states(), (std::array<bool, 3>{false, false, false}));
}

INSTANTIATE_TEST_SUITE_P(
    Sessions, RefusalTest,
    testing::Values(
        // The X server answers on DISPLAY here, as Xwayland would: it must not be touched.
        Refusal{"WaylandDisplay", {{"WAYLAND_DISPLAY", "wayland-0"}}, "Wayland"},
        Refusal{"WaylandSessionType", {{"XDG_SESSION_TYPE", "wayland"}}, "Wayland"},
        Refusal{"NoDisplay", {{"DISPLAY", nullptr}}, "DISPLAY is not set"},
        Refusal{"UnreachableDisplay", {{"DISPLAY", ":97"}}, "cannot open the X display \":97\""}),
    [](const testing::TestParamInfo<Refusal>& info) { return std::string(info.param.why); });

}  // namespace
}  // namespace x11test
