#include "core/lock_keys.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "text_print.h"

namespace kantrell {
namespace {

struct KeyEvent {
  std::uint8_t virtualKey;
  std::uint8_t scanCode;
  std::uint32_t flags;
  bool operator==(const KeyEvent&) const = default;
};

void PrintTo(const KeyEvent& event, std::ostream* out) {
  *out << "{vk " << int{event.virtualKey} << ", scan " << int{event.scanCode} << ", flags "
       << event.flags << "}";
}

// A keyboard whose keys read as given and which records what is sent to it.
class FakeKeyboard final : public Keyboard {
 public:
  std::map<std::uint8_t, std::uint16_t> states;
  std::vector<KeyEvent> events;
  std::vector<std::uint8_t> sampled;
  std::vector<std::string> log;  // samples and events in the order they happened

  std::uint16_t keyState(std::uint8_t virtualKey) override {
    sampled.push_back(virtualKey);
    log.push_back("sample " + std::to_string(virtualKey));
    return states[virtualKey];
  }
  void sendKeyEvent(std::uint8_t virtualKey, std::uint8_t scanCode, std::uint32_t flags) override {
    events.push_back({virtualKey, scanCode, flags});
    log.push_back((flags == 0 ? "press " : "release ") + std::to_string(virtualKey));
  }
};

std::vector<KeyEvent> toggleOf(std::uint8_t virtualKey) {
  return {{virtualKey, 1, 0}, {virtualKey, 1, 2}};
}

struct DecisionCase {
  std::uint16_t keyState;  // as GetKeyState gives it
  Text word;               // as readLockRequest left it (lower-cased)
  bool toggles;
  std::int8_t sampled;
};

void PrintTo(const DecisionCase& row, std::ostream* out) {
  *out << "state 0x" << std::hex << row.keyState << std::dec << ", word \""
       << testing_support::narrow(row.word) << '"';
}

class DecisionTest : public testing::TestWithParam<DecisionCase> {};

TEST_P(DecisionTest, TogglesOnlyAKeyThatIsExactlyTheOtherState) {
  const DecisionCase& row = GetParam();
  FakeKeyboard keyboard;
  keyboard.states[kVkNumLock] = row.keyState;
  EXPECT_EQ(syncLockKey(keyboard, kVkNumLock, row.word), row.sampled);
  EXPECT_EQ(keyboard.events, row.toggles ? toggleOf(kVkNumLock) : std::vector<KeyEvent>{});
}

INSTANTIATE_TEST_SUITE_P(
    Cells, DecisionTest,
    testing::Values(
        // off, not held
        DecisionCase{0x0000, u"on", true, 0}, DecisionCase{0x0000, u"off", false, 0},
        DecisionCase{0x0000, u"", false, 0}, DecisionCase{0x0000, u"1", false, 0},
        DecisionCase{0x0000, u"yes", false, 0}, DecisionCase{0x0000, u"true", false, 0},
        DecisionCase{0x0000, u"an", false, 0}, DecisionCase{0x0000, u"on ", false, 0},
        DecisionCase{0x0000, u"ON", false, 0},  // case folding is the reader's job, not this one's
        // on, not held
        DecisionCase{0x0001, u"off", true, 1}, DecisionCase{0x0001, u"on", false, 1},
        DecisionCase{0x0001, u"", false, 1}, DecisionCase{0x0001, u"of", false, 1},
        DecisionCase{0x0001, u"OFF", false, 1},
        // held down at sampling: left alone whatever the word
        DecisionCase{0xFF80, u"on", false, -128}, DecisionCase{0xFF80, u"off", false, -128},
        DecisionCase{0xFF80, u"", false, -128}, DecisionCase{0xFF81, u"on", false, -127},
        DecisionCase{0xFF81, u"off", false, -127}, DecisionCase{0xFF81, u"x", false, -127},
        // only the low byte counts
        DecisionCase{0x0100, u"on", true, 0}, DecisionCase{0x7F01, u"off", true, 1}));

TEST(SyncLockKeysTest, AllThreeDifferingGiveSixEventsInKeyOrder) {
  FakeKeyboard keyboard;
  keyboard.states = {{kVkNumLock, 0}, {kVkScrollLock, 1}, {kVkCapsLock, 0}};
  LockRequest request;
  request.numWord = u"on";
  request.scrollWord = u"off";
  request.capsWord = u"on";

  const LockStates states = syncLockKeys(keyboard, request);

  std::vector<KeyEvent> expected = toggleOf(0x90);
  for (std::uint8_t key : {0x91, 0x14}) {
    const auto toggle = toggleOf(key);
    expected.insert(expected.end(), toggle.begin(), toggle.end());
  }
  EXPECT_EQ(keyboard.events, expected);
  EXPECT_EQ(keyboard.sampled, (std::vector<std::uint8_t>{0x90, 0x91, 0x14}));
  EXPECT_EQ(states.numState, 0);
  EXPECT_EQ(states.scrollState, 1);
  EXPECT_EQ(states.capsState, 0);
}

TEST(SyncLockKeysTest, KeysThatMatchOrAreHeldGetNoEvent) {
  FakeKeyboard keyboard;
  keyboard.states = {{kVkNumLock, 1}, {kVkScrollLock, 0xFF80}, {kVkCapsLock, 0}};
  LockRequest request;
  request.numWord = u"on";
  request.scrollWord = u"on";
  request.capsWord = u"off";

  const LockStates states = syncLockKeys(keyboard, request);

  EXPECT_TRUE(keyboard.events.empty());
  EXPECT_EQ(states.numState, 1);
  EXPECT_EQ(states.scrollState, -128);
  EXPECT_EQ(states.capsState, 0);
}

TEST(SyncLockKeysTest, EachKeyIsSampledRightBeforeItsOwnDecision) {
  FakeKeyboard keyboard;
  LockRequest request;
  request.numWord = u"on";
  request.capsWord = u"on";
  syncLockKeys(keyboard, request);
  EXPECT_EQ(keyboard.log,
            (std::vector<std::string>{"sample 144", "press 144", "release 144", "sample 145",
                                      "sample 20", "press 20", "release 20"}));
}

}  // namespace
}  // namespace kantrell
