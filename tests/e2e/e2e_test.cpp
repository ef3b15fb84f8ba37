// KANTRELL.exe as users run it, watched from outside. Under Wine every new process reads the
// lock keys as toggled off, so each run starts from "all off".
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "core/lock_keys.h"
#include "probe.h"

namespace {

using kantrell::kVkCapsLock;
using kantrell::kVkNumLock;
using kantrell::kVkScrollLock;

constexpr DWORD kInjected = 0x10;  // LLKHF_INJECTED
constexpr DWORD kKeyUp = 0x80;     // LLKHF_UP
constexpr DWORD kExtended = 0x01;  // LLKHF_EXTENDED

std::wstring kantrellPath() { return probe::ownDirectory() + L"KANTRELL.exe"; }

probe::Run runKantrell(const std::wstring& commandLine, DWORD limitMs = 30'000) {
  probe::Run run = probe::run(kantrellPath(), commandLine, limitMs);
  EXPECT_TRUE(run.started) << "could not start " << testing::PrintToString(kantrellPath());
  EXPECT_TRUE(run.finished) << "still running after " << limitMs << " ms";
  EXPECT_EQ(run.exitCode, 0u);
  return run;
}

// The keys that were toggled, in event order, each as its press and release: {vk, up}.
std::vector<std::pair<DWORD, bool>> pressesAndReleases(const probe::Run& run) {
  std::vector<std::pair<DWORD, bool>> sequence;
  for (const probe::KeyEvent& key : run.keys) {
    sequence.emplace_back(key.virtualKey, (key.flags & kKeyUp) != 0);
  }
  return sequence;
}

std::vector<std::pair<DWORD, bool>> toggles(const std::vector<DWORD>& keys) {
  std::vector<std::pair<DWORD, bool>> sequence;
  for (DWORD key : keys) {
    sequence.emplace_back(key, false);
    sequence.emplace_back(key, true);
  }
  return sequence;
}

TEST(EndToEnd, NoWordsTouchesNoKey) {
  const probe::Run run = runKantrell(L"KANTRELL.exe");
  EXPECT_TRUE(run.keys.empty());
  EXPECT_FALSE(run.window.seen);
}

TEST(EndToEnd, AllOnGivesSixInjectedEventsWithScanCodeOne) {
  const probe::Run run = runKantrell(L"KANTRELL.exe on on on");
  EXPECT_EQ(pressesAndReleases(run), toggles({kVkNumLock, kVkScrollLock, kVkCapsLock}));
  for (const probe::KeyEvent& key : run.keys) {
    EXPECT_EQ(key.scanCode, 1u);
    EXPECT_NE(key.flags & kInjected, 0u);
    EXPECT_EQ(key.flags & kExtended, 0u);
  }
  EXPECT_FALSE(run.window.seen);
}

// One table, one test process: each row is a separate run of KANTRELL.exe all the same.
TEST(EndToEnd, EachLineTogglesTheKeysItNamesOn) {
  struct Row {
    const wchar_t* commandLine;
    std::vector<DWORD> toggled;
  };
  for (const Row& row : {
           Row{L"KANTRELL.exe oN ON On 0", {kVkNumLock, kVkScrollLock, kVkCapsLock}},
           Row{L"KANTRELL.exe OFF on OFF", {kVkScrollLock}},
           Row{L"\"C:\\Tools\\KANTRELL.exe\" on off on", {kVkNumLock, kVkCapsLock}},
           Row{L"KANTRELL.exe \"on\"off on", {kVkNumLock, kVkCapsLock}},
           Row{L"KANTRELL.exe \"\"\"\" on", {kVkCapsLock}},
           Row{L"KANTRELL.exe \"on off\" on", {kVkScrollLock}},
           Row{L"KANTRELL.exe o\"n\" off on", {kVkNumLock, kVkCapsLock}},
           Row{L"\"KANTRELL.exe\"on", {kVkNumLock}},
           Row{L"KANTRELL.exe on\toff on", {kVkScrollLock}},
           Row{L"KANTRELL.exe \"on \" on", {kVkScrollLock}},
           Row{L"KANTRELL.exe yes 1 an", {}},
           Row{L"KANTRELL.exe \"a\\\" on", {kVkScrollLock}},
       }) {
    SCOPED_TRACE(testing::PrintToString(std::wstring(row.commandLine)));
    EXPECT_EQ(pressesAndReleases(runKantrell(row.commandLine)), toggles(row.toggled));
  }
}

double firstKeyMs(const probe::Run& run) { return run.keys.empty() ? -1 : run.keys.front().atMs; }

TEST(EndToEnd, TheFourthWordDelaysTheKeysBySeconds) {
  const probe::Run delayed = runKantrell(L"KANTRELL.exe on x x 2");
  ASSERT_EQ(delayed.keys.size(), 2u);
  // The bound that no start-up time can break: nothing is touched before the wait is over.
  EXPECT_GE(firstKeyMs(delayed), 2000.0) << "no key may be touched before the wait is over";
  // Against the fastest of a few immediate runs, so that one slow start-up cannot fail it; still
  // well below what a wait of twice the seconds would give.
  double fastestMs = 1e9;
  for (int i = 0; i < 3; ++i) {
    const probe::Run immediate = runKantrell(L"KANTRELL.exe on x x 0");
    ASSERT_EQ(immediate.keys.size(), 2u);
    fastestMs = std::min(fastestMs, firstKeyMs(immediate));
  }
  EXPECT_LT(firstKeyMs(delayed) - fastestMs, 3500.0);
}

TEST(EndToEnd, ANegativeWaitReturnsPromptly) {
  // Without a bound, -5 s would become a sleep of about 49.7 days.
  const probe::Run run = runKantrell(L"KANTRELL.exe on x x -5", 15'000);
  EXPECT_EQ(pressesAndReleases(run), toggles({kVkNumLock}));
  EXPECT_LT(run.exitMs, 15'000.0);
}

TEST(EndToEnd, StatusWindowShowsCentredAfterTheKeysForFiveToSixSeconds) {
  const probe::Run run = runKantrell(L"KANTRELL.exe on off ON 0 s");
  EXPECT_EQ(pressesAndReleases(run), toggles({kVkNumLock, kVkCapsLock}));
  ASSERT_TRUE(run.window.seen);
  EXPECT_EQ(run.window.className, L"WindowClass_0");
  EXPECT_NE(run.window.exStyle & WS_EX_TOPMOST, 0);
  EXPECT_EQ(run.window.style & ~(WS_VISIBLE | WS_CLIPSIBLINGS), WS_CAPTION);

  const RECT& rect = run.window.rect;
  EXPECT_EQ(rect.left, (GetSystemMetrics(SM_CXSCREEN) - (rect.right - rect.left)) / 2);
  EXPECT_EQ(rect.top, (GetSystemMetrics(SM_CYSCREEN) - (rect.bottom - rect.top)) / 2);

  ASSERT_FALSE(run.keys.empty());
  EXPECT_LT(run.keys.back().atMs, run.window.firstMs) << "the keys come before the window";
  // Seen from outside through polls 5 ms apart.
  const double shownMs = run.window.lastMs - run.window.firstMs;
  EXPECT_GE(shownMs, 4990.0);
  EXPECT_LE(shownMs, 6100.0);
  EXPECT_GE(run.exitMs, run.window.lastMs);
}

TEST(EndToEnd, OnlyTheFifthWordSOpensTheWindow) {
  for (const wchar_t* line :
       {L"KANTRELL.exe on off on 0 ss", L"KANTRELL.exe on off on 0 status",
        L"KANTRELL.exe on off on 0", L"KANTRELL.exe on s", L"KANTRELL.exe on off on 0 \"s \""}) {
    SCOPED_TRACE(testing::PrintToString(std::wstring(line)));
    const probe::Run run = runKantrell(line);
    EXPECT_FALSE(run.window.seen);
    EXPECT_LT(run.exitMs, 4000.0);
  }
}

}  // namespace
