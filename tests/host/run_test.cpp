#include "app/run.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "core/command_line.h"

#include "recording_platform.h"

namespace kantrell {
namespace {

using testing_support::RecordingPlatform;
using Log = std::vector<std::string>;

Log runLog(const Text& commandLine, RecordingPlatform& fake) {
  Platform platform = fake.platform();
  CommandLineReader words(commandLine);
  EXPECT_EQ(runProgram(words, platform), 0);
  return fake.log;
}

const std::string kLabelFont = "createFont -11 400 italic Arial";
const std::string kValueFont = "createFont -11 700 upright Arial";

TEST(RunTest, NoWordsStillMakesTheFontsRaisesTheResolutionAndSleepsZero) {
  RecordingPlatform fake;
  EXPECT_EQ(runLog(u"KANTRELL.exe", fake),
            (Log{"start", kLabelFont, kValueFont, "timeBeginPeriod 1", "Sleep 0", "keyState 144",
                 "keyState 145", "keyState 20", "end"}));
}

TEST(RunTest, WaitsThenSynchronisesTheKeysInOrder) {
  RecordingPlatform fake;
  fake.keyStates = {{0x90, 0}, {0x91, 1}, {0x14, 0}};
  EXPECT_EQ(runLog(u"KANTRELL.exe ON off On 3", fake),
            (Log{"start", kLabelFont, kValueFont, "timeBeginPeriod 1", "Sleep 3000", "keyState 144",
                 "keybd_event 144 1 0", "keybd_event 144 1 2", "keyState 145",
                 "keybd_event 145 1 0", "keybd_event 145 1 2", "keyState 20", "keybd_event 20 1 0",
                 "keybd_event 20 1 2", "end"}));
}

TEST(RunTest, TheSleepIsBoundedSoThatNoWaitLastsForWeeks) {
  struct Row {
    Text fourthWord;
    std::string sleep;
  };
  for (const Row& row :
       {Row{u"0", "Sleep 0"}, Row{u"2", "Sleep 2000"},
        Row{u"4294967", "Sleep 4294967000"},                            // the longest faithful wait
        Row{u"4294968", "Sleep 4294967000"},                            // would wrap to 704 ms
        Row{u"$FFFFFFFF", "Sleep 4294967000"}, Row{u"-1", "Sleep 0"},   // would be about 49.7 days
        Row{u"-5", "Sleep 0"}, Row{u"9223372036854775807", "Sleep 0"},  // waitMs wraps to -1000
        Row{u"9223372036854775808", "Sleep 0"}}) {
    RecordingPlatform fake;
    const Log log = runLog(u"KANTRELL.exe x x x " + row.fourthWord, fake);
    const auto sleeps = std::count_if(
        log.begin(), log.end(), [](const std::string& line) { return line.starts_with("Sleep"); });
    EXPECT_EQ(sleeps, 1);
    EXPECT_NE(std::find(log.begin(), log.end(), row.sleep), log.end())
        << testing_support::narrow(row.fourthWord);
  }
}

TEST(DelayTest, RaisesTheResolutionOnlyOnTheFirstCall) {
  RecordingPlatform fake;
  Delay delay(fake);
  delay.delayMs(1000);
  delay.delayMs(0);
  EXPECT_EQ(fake.log, (Log{"timeBeginPeriod 1", "Sleep 1000", "Sleep 0"}));
}

TEST(RunTest, StatusWindowComesAfterTheKeysAndGoesBeforeTheEnd) {
  RecordingPlatform fake;
  fake.keyStates = {{0x90, 0}};
  const Log log = runLog(u"KANTRELL.exe on x x 0 S", fake);
  const auto at = [&log](const std::string& line) {
    return std::find(log.begin(), log.end(), line) - log.begin();
  };
  EXPECT_LT(at(kValueFont), at("Sleep 0"));
  EXPECT_LT(at("keybd_event 144 1 2"), at("keyState 145"));
  EXPECT_LT(at("keyState 20"), at("openWindow \"Statusmeldung: Kantrell V1.1\" style 12582912 "
                                  "client 170x90 at (190,110)"));
  EXPECT_LT(at("setFont 102 2"), at("clockMs 0"));
  EXPECT_LT(at("clockMs 5000"), at("closeWindow 7"));
  EXPECT_EQ(log[log.size() - 2], "closeWindow 7");
  EXPECT_EQ(log.back(), "end");
}

TEST(RunTest, AWindowThatCannotOpenEndsTheRunAtOnce) {
  RecordingPlatform fake;
  fake.windowFails = true;
  const Log log = runLog(u"KANTRELL.exe on on on 0 s", fake);
  EXPECT_EQ(log[log.size() - 2].rfind("openWindow", 0), 0u);
  EXPECT_EQ(log.back(), "end");
}

TEST(RunTest, StatusWordsThatAreNotSShowNothing) {
  for (const char16_t* line : {u"K on on on 0 ss", u"K on on on 0 status", u"K on s",
                               u"K on on on 0", u"K on on on 0 \"s \"", u"K on on on 0 s1"}) {
    RecordingPlatform fake;
    const Log log = runLog(line, fake);
    const bool opened = std::any_of(log.begin(), log.end(), [](const std::string& call) {
      return call.starts_with("openWindow");
    });
    EXPECT_FALSE(opened) << testing_support::narrow(line);
    EXPECT_EQ(log.back(), "end");
  }
}

}  // namespace
}  // namespace kantrell
