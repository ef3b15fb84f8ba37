#include "core/run.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "recording_platform.h"

namespace kantrell {
namespace {

using testing_support::RecordingPlatform;
using Log = std::vector<std::string>;

Log runLog(const Text& commandLine, RecordingPlatform& fake) {
  Platform platform = fake.platform();
  EXPECT_EQ(runProgram(commandLine, platform), 0);
  return fake.log;
}

TEST(RunTest, NoWordsStillRaisesTheResolutionAndSleepsZero) {
  RecordingPlatform fake;
  EXPECT_EQ(runLog(u"KANTRELL.exe", fake),
            (Log{"start", "timeBeginPeriod 1", "Sleep 0", "keyState 144", "keyState 145",
                 "keyState 20", "end"}));
}

TEST(RunTest, WaitsThenSynchronisesTheKeysInOrder) {
  RecordingPlatform fake;
  fake.keyStates = {{0x90, 0}, {0x91, 1}, {0x14, 0}};
  EXPECT_EQ(
      runLog(u"KANTRELL.exe ON off On 3", fake),
      (Log{"start", "timeBeginPeriod 1", "Sleep 3000", "keyState 144", "keybd_event 144 1 0",
           "keybd_event 144 1 2", "keyState 145", "keybd_event 145 1 0", "keybd_event 145 1 2",
           "keyState 20", "keybd_event 20 1 0", "keybd_event 20 1 2", "end"}));
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
    ASSERT_GE(log.size(), 3u);
    EXPECT_EQ(log[2], row.sleep) << std::string(row.fourthWord.begin(), row.fourthWord.end());
  }
}

TEST(DelayTest, RaisesTheResolutionOnlyOnTheFirstCall) {
  RecordingPlatform fake;
  Delay delay(fake);
  delay.delayMs(1000);
  delay.delayMs(0);
  EXPECT_EQ(fake.log, (Log{"timeBeginPeriod 1", "Sleep 1000", "Sleep 0"}));
}

TEST(RunTest, StatusWordsThatAreNotSShowNothingAndExitZero) {
  for (const char16_t* line : {u"K on on on 0 ss", u"K on on on 0 status", u"K on s",
                               u"K on on on 0", u"K on on on 0 \"s \""}) {
    RecordingPlatform fake;
    const Log log = runLog(line, fake);
    EXPECT_EQ(log.back(), "end");
    EXPECT_EQ(std::count(log.begin(), log.end(), "end"), 1);
  }
}

}  // namespace
}  // namespace kantrell
