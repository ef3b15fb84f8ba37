#include <gtest/gtest.h>

#include <deque>

#include "recording_platform.h"
#include "status/status_display.h"
#include "status/status_style.h"
#include "status/status_window.h"

namespace kantrell {
namespace {

using testing_support::narrow;
using testing_support::RecordingPlatform;
using Log = std::vector<std::string>;

LockRequest requestOf(Text num, Text scroll, Text caps) {
  LockRequest request;
  request.numWord = std::move(num);
  request.scrollWord = std::move(scroll);
  request.capsWord = std::move(caps);
  return request;
}

TEST(StatusStyleTest, FontHeightIsEightPointsAtTheScreenDensity) {
  struct Row {
    int dpiY, height;
  };
  for (const Row& row : {Row{96, -11}, Row{120, -13}, Row{144, -16}, Row{72, -8}, Row{192, -21},
                         Row{99, -11}, Row{0, 0}}) {
    EXPECT_EQ(fontHeightFor(row.dpiY), row.height) << row.dpiY << " dpi";
  }
}

TEST(StatusStyleTest, MulDivRoundsHalfAwayFromZeroAndReportsFailure) {
  EXPECT_EQ(mulDiv(8, 117, 72), 13);  // 12.999
  EXPECT_EQ(mulDiv(1, 3, 2), 2);      // 1.5
  EXPECT_EQ(mulDiv(-1, 3, 2), -2);
  EXPECT_EQ(mulDiv(1, 3, -2), -2);
  EXPECT_EQ(mulDiv(5, 5, 0), -1);
  EXPECT_EQ(mulDiv(0x7FFFFFFF, 4, 1), -1);
}

TEST(StatusStyleTest, MakesLabelFontThenValueFontThenTheColours) {
  RecordingPlatform fake;
  fake.dpiY = 120;
  const StatusStyle style = prepareStatusStyle(fake);
  EXPECT_EQ(fake.log, (Log{"createFont -13 400 italic Arial", "createFont -13 700 upright Arial"}));
  EXPECT_EQ(style.labelFont, 1u);
  EXPECT_EQ(style.valueFont, 2u);
  EXPECT_EQ(style.labelTextColour, 0xFF0000);
  EXPECT_EQ(style.valueTextColour, 0x0000FF);
  EXPECT_EQ(style.labelBackColour, -1);
  EXPECT_EQ(style.valueBackColour, -1);
}

TEST(StatusWindowTest, TitleAndColumnTexts) {
  EXPECT_EQ(statusTitle(u"1.1"), u"Statusmeldung: Kantrell V1.1");
  EXPECT_EQ(labelText(), u"NUM-Lock:\r\n\r\nSCROLL-Lock:\r\n\r\nCAPS-Lock:");
  struct Row {
    LockRequest request;
    Text text;
  };
  for (const Row& row : {
           Row{requestOf(u"on", u"off", u"on"), u"ON\r\n\r\nOFF\r\n\r\nON"},
           Row{requestOf(u"", u"off", u""), u"\r\n\r\nOFF\r\n\r\n"},
           Row{requestOf(u"toggle", u"a&b", u"on off"), u"TOGGLE\r\n\r\nA&B\r\n\r\nON OFF"},
           Row{requestOf(u"", u"", u""), u"\r\n\r\n\r\n\r\n"},
       }) {
    EXPECT_EQ(valueText(row.request), row.text) << narrow(row.text);
  }
}

TEST(StatusWindowTest, CentresOnTheScreenAndAtItsEdgeWhereItDoesNotFit) {
  struct Row {
    Size window;
    Rect screen;
    Point at;
  };
  for (const Row& row : {
           Row{{177, 109}, {{0, 0}, {800, 600}}, {311, 245}},
           Row{{176, 109}, {{0, 0}, {1024, 768}}, {424, 329}},
           Row{{177, 110}, {{0, 0}, {178, 111}}, {0, 0}},  // (1 / 2) truncates
           Row{{900, 109}, {{0, 0}, {800, 600}}, {0, 245}},
           Row{{177, 700}, {{0, 0}, {800, 600}}, {311, 0}},
           Row{{177, 109}, {{0, 0}, {177, 109}}, {0, 0}},
           // a primary screen that does not start at the origin, left of or beside another
           Row{{170, 90}, {{1920, 0}, {1280, 1024}}, {2475, 467}},
           Row{{170, 90}, {{-1280, 200}, {1280, 1024}}, {-725, 667}},
           Row{{2000, 90}, {{1920, 0}, {1280, 1024}}, {1920, 467}},
       }) {
    EXPECT_EQ(centredPosition(row.window, row.screen), row.at)
        << row.window.width << "x" << row.window.height << " on " << row.screen.size.width << "x"
        << row.screen.size.height << " at " << row.screen.origin.x << "," << row.screen.origin.y;
  }
}

TEST(StatusWindowTest, OpenBuildsTheWindowInItsOrder) {
  RecordingPlatform fake;
  fake.outerSize = {177, 109};
  fake.screen = {{0, 0}, {800, 600}};
  StatusWindow window(fake, fake, fake);
  StatusStyle style;
  style.labelFont = 11;
  style.valueFont = 12;
  style.labelTextColour = kBlue;
  style.valueTextColour = kRed;
  EXPECT_TRUE(window.open(requestOf(u"on", u"", u"a&b"), style, u"1.1"));
  EXPECT_EQ(
      fake.log,
      (Log{
          "openWindow \"Statusmeldung: Kantrell V1.1\" style 12582912 client 170x90 at "
          "(190,110)",
          "windowSize 7",
          "primaryScreen",
          "moveWindow 7 (311,245)",
          "showWindow 7",
          "makeTopmost 7",
          "addStatic 7 id 1 \"NUM-Lock:\\r\\n\\r\\nSCROLL-Lock:\\r\\n\\r\\nCAPS-Lock:\" style "
          "1342308482 at (10,10) size 80x70",
          "setTextColour 101 16711680",
          "setBackColour 101 -1",
          "setFont 101 11",
          "addStatic 7 id 2 \"ON\\r\\n\\r\\n\\r\\n\\r\\nA&B\" style 1342308480 at (100,10) "
          "size 60x70",
          "setTextColour 102 255",
          "setBackColour 102 -1",
          "setFont 102 12",
      }));
  window.close();
  EXPECT_EQ(fake.log.back(), "closeWindow 7");
}

TEST(StatusWindowTest, MissingFontsAreSentAsNoFont) {
  RecordingPlatform fake;
  fake.fontsFail = true;
  const StatusStyle style = prepareStatusStyle(fake);
  StatusWindow window(fake, fake, fake);
  EXPECT_TRUE(window.open(requestOf(u"on", u"on", u"on"), style, u"1.1"));
  EXPECT_NE(std::find(fake.log.begin(), fake.log.end(), "setFont 101 0"), fake.log.end());
  EXPECT_NE(std::find(fake.log.begin(), fake.log.end(), "setFont 102 0"), fake.log.end());
}

TEST(StatusWindowTest, MissingControlsLeaveTheWindowOpen) {
  RecordingPlatform fake;
  fake.controlsFail = true;
  StatusWindow window(fake, fake, fake);
  EXPECT_TRUE(window.open(requestOf(u"on", u"on", u"on"), StatusStyle{}, u"1.1"));
  for (const std::string& call : fake.log) {
    EXPECT_FALSE(call.starts_with("set")) << call;
  }
}

TEST(StatusWindowTest, NoWindowMeansFalseAndNothingElse) {
  RecordingPlatform fake;
  fake.windowFails = true;
  StatusWindow window(fake, fake, fake);
  EXPECT_FALSE(window.open(requestOf(u"on", u"on", u"on"), StatusStyle{}, u"1.1"));
  EXPECT_EQ(fake.log.size(), 1u);
  window.close();
  EXPECT_EQ(fake.log.size(), 1u) << "nothing to close";
}

TEST(StatusLinesTest, TheColumnsAsThreeLines) {
  const auto lines = statusLines(requestOf(u"on", u"", u"toggle"));
  EXPECT_EQ(lines[0], u"   NUM-Lock: ON");
  EXPECT_EQ(lines[1], u"SCROLL-Lock:");
  EXPECT_EQ(lines[2], u"  CAPS-Lock: TOGGLE");
}

// A window's event stream in time: input arrives at given clock readings; a wait returns at
// once when input is due, at the input's arrival when it comes within the slice, or after the
// whole slice with 0.
class TimedEvents final : public EventWait, public Clock {
 public:
  std::int64_t nowMs = 0;
  std::deque<std::pair<std::int64_t, std::int64_t>> input;  // (arrival, code)
  std::vector<std::int64_t> returnsAtMs;

  std::int64_t nextEvent(std::int32_t timeoutMs) override {
    EXPECT_EQ(timeoutMs, 1000);
    std::int64_t code = 0;
    if (!input.empty() && input.front().first <= nowMs + timeoutMs) {
      nowMs = std::max(nowMs, input.front().first);
      code = input.front().second;
      input.pop_front();
    } else {
      nowMs += timeoutMs;
    }
    returnsAtMs.push_back(nowMs);
    return code;
  }
  std::int64_t clockMs() override { return nowMs; }
};

std::int64_t displayEndsAt(TimedEvents& events) {
  RecordingPlatform windows;
  StatusWindow window(windows, events, events);
  window.holdOpen();
  return events.returnsAtMs.back();
}

TEST(HoldOpenTest, WithoutInputEndsAtTheFirstReturnAtFiveSeconds) {
  TimedEvents events;
  events.nowMs = 123'456;  // the clock's origin does not matter
  EXPECT_EQ(displayEndsAt(events), 123'456 + 5000);
  EXPECT_EQ(events.returnsAtMs.size(), 5u);
}

TEST(HoldOpenTest, ContinuousInputEndsWithinOneReturnAfterFiveSeconds) {
  TimedEvents events;
  for (std::int64_t at = 3; at < 20'000; at += 7) events.input.emplace_back(at, 0x200);
  const std::int64_t endMs = displayEndsAt(events);
  EXPECT_GE(endMs, 5000);
  EXPECT_LT(endMs, 5007);
}

TEST(HoldOpenTest, InputJustBeforeTheEndMakesItWaitOneMoreSlice) {
  TimedEvents events;
  events.input.emplace_back(4990, 0x202);  // a click at 4.99 s
  EXPECT_EQ(displayEndsAt(events), 5990);
}

TEST(HoldOpenTest, NoEventCodeEndsIt) {
  TimedEvents events;
  for (std::int64_t code : {0x10, 0x0, 0x2, 0x10007, -1, 0x7FFFFFFF}) {
    events.input.emplace_back(100, code);
  }
  EXPECT_EQ(displayEndsAt(events), 5100);
}

}  // namespace
}  // namespace kantrell
