// The shipped KANTRELL.exe's own Win32 calls, as Wine's relay log shows them: the arguments that
// matter and their order, checked from outside the program. Under Wine only.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

#include "pe_image.h"
#include "probe.h"
#include "wine_log.h"

namespace {

// The functions whose calls the relay records; everything else stays out of the log.
constexpr wchar_t kRelayed[] =
    L"KERNEL32.SetDefaultDllDirectories;KERNEL32.LoadLibraryExW;KERNEL32.Sleep;"
    L"KERNEL32.ExitProcess;winmm.timeBeginPeriod;comctl32.InitCommonControlsEx;"
    L"gdi32.CreateFontW;gdi32.DeleteObject;user32.GetKeyState;user32.keybd_event;"
    L"user32.PeekMessageW;user32.MsgWaitForMultipleObjects;user32.DestroyWindow;"
    L"user32.DestroyIcon";

// The relay prints each argument as its whole 64-bit slot; a 32-bit argument passed on the stack
// may have anything in the upper half. Every argument compared here is 32 bits wide.
std::string lowHalves(const std::string& arguments) {
  std::string result;
  std::size_t start = 0;
  while (start <= arguments.size()) {
    const std::size_t end = std::min(arguments.find(',', start), arguments.size());
    std::string token = arguments.substr(start, end - start);
    const bool hex = !token.empty() && token.size() <= 16 &&
                     token.find_first_not_of("0123456789abcdef") == std::string::npos;
    if (hex && token.size() > 8) token = token.substr(token.size() - 8);
    result += (start == 0 ? "" : ",") + token;
    start = end + 1;
  }
  return result;
}

bool isWaitLoopCall(const winelog::Call& call) {
  return call.function == "user32.PeekMessageW" ||
         call.function == "user32.MsgWaitForMultipleObjects";
}

TEST(ExactCalls, OneRunWithTheStatusWindowUnderRelay) {
  const winelog::WineOutput output;
  if (!probe::underWine() || !output.available()) GTEST_SKIP() << "reads Wine's relay log";
  const std::wstring program = probe::ownDirectory() + L"KANTRELL.exe";
  const auto image = pe::Image::load(program);
  ASSERT_TRUE(image.has_value());

  probe::Run run;
  {
    const winelog::RelayFilter filter(kRelayed);
    run = probe::run(program, L"KANTRELL.exe on on on 1 s", 60'000,
                     probe::withEnvironment({L"WINEDEBUG=+relay,+loaddll,+pid"}));
  }
  ASSERT_TRUE(run.finished);
  EXPECT_EQ(run.exitCode, 0u);
  std::vector<winelog::Call> calls =
      winelog::programCalls(output.writtenSince(), "KANTRELL.exe", image->sizeOfImage());
  ASSERT_FALSE(calls.empty()) << "no relayed call found in the log";
  for (winelog::Call& call : calls) call.arguments = lowHalves(call.arguments);

  // The display loop: every wait with the mask Windows 7 knows, every take with the same flags.
  int waits = 0;
  for (const winelog::Call& call : calls) {
    if (call.function == "user32.MsgWaitForMultipleObjects") {
      ++waits;
      EXPECT_EQ(call.arguments, "00000000,00000000,00000000,000003e8,000005ff");
    } else if (call.function == "user32.PeekMessageW") {
      EXPECT_TRUE(winelog::matches(call.arguments, "*,00000000,00000000,00000000,00000003"))
          << call.arguments << ": PM_REMOVE | PM_NOYIELD";
    }
  }
  EXPECT_GE(waits, 4) << "five seconds in one-second slices";
  EXPECT_LE(waits, 8);

  // Everything else, in order, with the loop between the keys and the end sequence.
  std::vector<std::string> sequence;
  for (const winelog::Call& call : calls) {
    if (!isWaitLoopCall(call)) {
      sequence.push_back(call.text());
    } else if (sequence.back() != "(display loop)") {
      sequence.push_back("(display loop)");
    }
  }
  const std::vector<std::string> expected = {
      "KERNEL32.SetDefaultDllDirectories(00000800)",  // before anything can load a DLL
      "comctl32.InitCommonControlsEx(*)",
      "gdi32.CreateFontW(fffffff5,00000000,00000000,00000000,00000190,00000001,00000000,00000000,"
      "00000001,00000000,00000000,00000000,00000000,* L\"Arial\")",
      "gdi32.CreateFontW(fffffff5,00000000,00000000,00000000,000002bc,00000000,00000000,00000000,"
      "00000001,00000000,00000000,00000000,00000000,* L\"Arial\")",
      "KERNEL32.LoadLibraryExW(* L\"winmm.dll\",00000000,00000800)",
      "winmm.timeBeginPeriod(00000001)",
      "KERNEL32.Sleep(000003e8)",
      "user32.GetKeyState(00000090)",
      "user32.keybd_event(00000090,00000001,00000000,00000000)",
      "user32.keybd_event(00000090,00000001,00000002,00000000)",
      "user32.GetKeyState(00000091)",
      "user32.keybd_event(00000091,00000001,00000000,00000000)",
      "user32.keybd_event(00000091,00000001,00000002,00000000)",
      "user32.GetKeyState(00000014)",
      "user32.keybd_event(00000014,00000001,00000000,00000000)",
      "user32.keybd_event(00000014,00000001,00000002,00000000)",
      "(display loop)",
      "user32.DestroyWindow(*)",
      "user32.DestroyIcon(*)",  // the end sequence: the icon, then both fonts
      "gdi32.DeleteObject(*)",
      "gdi32.DeleteObject(*)",
      "KERNEL32.ExitProcess(00000000)",
  };
  ASSERT_EQ(sequence.size(), expected.size()) << testing::PrintToString(sequence);
  for (std::size_t i = 0; i < expected.size(); ++i) {
    EXPECT_TRUE(winelog::matches(sequence[i], expected[i]))
        << "call " << i << ": " << sequence[i] << "\n  expected " << expected[i];
  }
}

}  // namespace
