// The Linux program's portable decisions: which backend a session gets, and the arithmetic of
// a virtual console's keyboard flags.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "console/console_keyboard.h"
#include "linux/backend_choice.h"

namespace kantrell {
namespace {

// A session described by its facts; records which facts were looked at.
class FakeSession final : public SessionFacts {
 public:
  bool wayland = false;
  X11Status x11Status = X11Status::NoDisplay;
  bool console = false;
  std::vector<std::string> asked;

  bool waylandSession() override {
    asked.push_back("wayland");
    return wayland;
  }
  X11Status x11() override {
    asked.push_back("x11");
    return x11Status;
  }
  std::string displayName() override { return ":7"; }
  bool virtualConsole() override {
    asked.push_back("console");
    return console;
  }
};

TEST(BackendChoiceTest, WaylandThenX11ThenTheConsole) {
  struct Row {
    bool wayland;
    X11Status x11;
    bool console;
    Backend backend;
    std::vector<std::string> asked;
  };
  for (const Row& row : {
           Row{false, X11Status::Usable, true, Backend::X11, {"wayland", "x11"}},
           Row{false, X11Status::NoDisplay, true, Backend::Console, {"wayland", "x11", "console"}},
           Row{false,
               X11Status::Unreachable,
               true,
               Backend::Console,
               {"wayland", "x11", "console"}},
           Row{false, X11Status::NoXkb, true, Backend::Console, {"wayland", "x11", "console"}},
           // Xwayland answers on DISPLAY, but its lock state is its own: never touched.
           Row{true, X11Status::Usable, true, Backend::Refused, {"wayland"}},
           Row{false, X11Status::NoDisplay, false, Backend::Refused, {"wayland", "x11", "console"}},
       }) {
    FakeSession session;
    session.wayland = row.wayland;
    session.x11Status = row.x11;
    session.console = row.console;
    const BackendChoice choice = chooseBackend(session);
    EXPECT_EQ(choice.backend, row.backend);
    EXPECT_EQ(session.asked, row.asked);
    EXPECT_EQ(choice.refusal.empty(), row.backend != Backend::Refused);
  }
}

TEST(BackendChoiceTest, ARefusalIsOneLineThatSaysWhyAndWhatWouldWork) {
  struct Row {
    bool wayland;
    X11Status x11;
    std::string why;
  };
  for (const Row& row : {
           Row{true, X11Status::Usable, "Wayland"},
           Row{false, X11Status::NoDisplay, "DISPLAY is not set"},
           Row{false, X11Status::Unreachable, "cannot open the X display \":7\""},
           Row{false, X11Status::NoXkb, "no XKB"},
       }) {
    FakeSession session;
    session.wayland = row.wayland;
    session.x11Status = row.x11;
    const std::string refusal = chooseBackend(session).refusal;
    EXPECT_EQ(refusal.rfind("kantrell: ", 0), 0u) << refusal;
    EXPECT_NE(refusal.find(row.why), std::string::npos) << refusal;
    EXPECT_NE(refusal.find("virtual console"), std::string::npos) << "what would work: " << refusal;
    EXPECT_EQ(refusal.find('\n'), std::string::npos) << refusal;
  }
}

// The console's flag byte as the kernel keeps it; writes are recorded.
class FakeLedFlags final : public LedFlags {
 public:
  std::uint8_t flags = 0;
  bool readable = true;
  std::vector<std::uint8_t> written;

  bool read(std::uint8_t& value) override {
    value = flags;
    return readable;
  }
  bool write(std::uint8_t value) override {
    written.push_back(value);
    flags = value;
    return true;
  }
};

TEST(ConsoleKeyboardTest, ReadsEachKeysFlag) {
  FakeLedFlags flags;
  flags.flags = kLedNumLock | kLedCapsLock | 0x70;  // default flags set too
  ConsoleKeyboard keyboard(flags);
  EXPECT_EQ(keyboard.keyState(kVkNumLock), 1);
  EXPECT_EQ(keyboard.keyState(kVkScrollLock), 0);
  EXPECT_EQ(keyboard.keyState(kVkCapsLock), 1);
}

TEST(ConsoleKeyboardTest, AReleaseFlipsOnlyItsOwnFlagAndKeepsTheDefaults) {
  struct Row {
    std::uint8_t before;
    std::uint8_t key;
    std::uint8_t after;
  };
  for (const Row& row : {
           Row{0x00, kVkNumLock, 0x02},
           Row{0x02, kVkNumLock, 0x00},
           Row{0x05, kVkScrollLock, 0x04},
           Row{0x03, kVkCapsLock, 0x07},
           Row{0x52, kVkCapsLock, 0x56},  // default Num Lock and Caps Lock stay as they were
           Row{0x77, kVkNumLock, 0x75},
       }) {
    FakeLedFlags flags;
    flags.flags = row.before;
    ConsoleKeyboard keyboard(flags);
    keyboard.sendKeyEvent(row.key, kLockScanCode, 0);
    EXPECT_TRUE(flags.written.empty()) << "a press alone changes nothing";
    keyboard.sendKeyEvent(row.key, kLockScanCode, kKeyEventKeyUp);
    EXPECT_EQ(flags.written, std::vector<std::uint8_t>{row.after}) << int{row.before};
  }
}

TEST(ConsoleKeyboardTest, TheWholeDecisionWorksOverTheFlags) {
  FakeLedFlags flags;
  flags.flags = kLedScrollLock | 0x20;
  ConsoleKeyboard keyboard(flags);
  LockRequest request;
  request.numWord = u"on";
  request.scrollWord = u"off";
  request.capsWord = u"off";
  syncLockKeys(keyboard, request);
  EXPECT_EQ(flags.flags, kLedNumLock | 0x20);
  EXPECT_EQ(flags.written.size(), 2u) << "Caps Lock was off already";
}

TEST(ConsoleKeyboardTest, FlagsThatCannotBeReadLeaveEveryKeyAlone) {
  FakeLedFlags flags;
  flags.readable = false;
  ConsoleKeyboard keyboard(flags);
  LockRequest request;
  request.numWord = u"on";
  request.capsWord = u"off";
  syncLockKeys(keyboard, request);
  EXPECT_TRUE(flags.written.empty());
}

}  // namespace
}  // namespace kantrell
