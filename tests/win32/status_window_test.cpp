// The status window on real windows, fonts and messages (under Wine on Linux).
#include <gtest/gtest.h>

#include <string>

#include "status/status_style.h"
#include "status/status_window.h"
#include "toolkit/clock.h"
#include "win32/clock_win32.h"
#include "win32/window_toolkit_win32.h"

namespace kantrell {
namespace {

std::wstring textOf(HWND window) {
  wchar_t buffer[256] = {};
  const int length = GetWindowTextW(window, buffer, 256);
  return std::wstring(buffer, length);
}

std::wstring classOf(HWND window) {
  wchar_t buffer[256] = {};
  const int length = GetClassNameW(window, buffer, 256);
  return std::wstring(buffer, length);
}

RECT clientRectOf(HWND control) {
  RECT rect = {};
  GetWindowRect(control, &rect);
  MapWindowPoints(nullptr, GetParent(control), reinterpret_cast<POINT*>(&rect), 2);
  return rect;
}

bool sameRect(const RECT& a, const RECT& b) {
  return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

// Handles whatever is waiting without blocking, and tells which codes came.
std::vector<std::int64_t> drainEvents(EventWait& toolkit) {
  std::vector<std::int64_t> codes;
  for (int i = 0; i < 200; ++i) {
    const std::int64_t code = toolkit.nextEvent(0);
    if (code == 0) break;
    codes.push_back(code);
  }
  return codes;
}

class StatusWindowTest : public testing::Test {
 protected:
  void SetUp() override { toolkit_.start(); }

  HWND open(const LockRequest& request) {
    const StatusStyle style = prepareStatusStyle(toolkit_);
    EXPECT_TRUE(window_.open(request, style, u"1.1"));
    HWND window = FindWindowW(nullptr, L"Statusmeldung: Kantrell V1.1");
    EXPECT_NE(window, nullptr);
    return window;
  }

  static LockRequest request(Text num, Text scroll, Text caps) {
    LockRequest result;
    result.numWord = std::move(num);
    result.scrollWord = std::move(scroll);
    result.capsWord = std::move(caps);
    return result;
  }

  Win32WindowToolkit toolkit_{GetModuleHandleW(nullptr)};
  Win32PerformanceCounter counter_;
  CounterClock clock_{counter_};
  StatusWindow window_{toolkit_, toolkit_, clock_};
};

TEST_F(StatusWindowTest, ClassAndWindowAreAsUsersSeeThem) {
  HWND window = open(request(u"on", u"off", u"on"));
  ASSERT_NE(window, nullptr);

  EXPECT_EQ(classOf(window), L"WindowClass_0");
  EXPECT_EQ(GetClassLongPtrW(window, GCL_STYLE), static_cast<ULONG_PTR>(CS_DBLCLKS));
  EXPECT_EQ(GetClassLongPtrW(window, GCLP_HBRBACKGROUND),
            static_cast<ULONG_PTR>(COLOR_BTNFACE + 1));
  EXPECT_EQ(reinterpret_cast<HCURSOR>(GetClassLongPtrW(window, GCLP_HCURSOR)),
            toolkit_.arrowCursor());
  EXPECT_EQ(reinterpret_cast<HICON>(GetClassLongPtrW(window, GCLP_HICON)),
            toolkit_.applicationIcon());

  const auto style = static_cast<DWORD>(GetWindowLongW(window, GWL_STYLE));
  EXPECT_EQ(style & ~static_cast<DWORD>(WS_VISIBLE | WS_CLIPSIBLINGS), WS_CAPTION);
  EXPECT_NE(style & WS_VISIBLE, 0u);
  const auto exStyle = static_cast<DWORD>(GetWindowLongW(window, GWL_EXSTYLE));
  EXPECT_NE(exStyle & WS_EX_TOPMOST, 0u);
  EXPECT_EQ(exStyle & ~static_cast<DWORD>(WS_EX_TOPMOST | WS_EX_WINDOWEDGE), 0u);
  EXPECT_EQ(GetWindow(window, GW_OWNER), nullptr);
  EXPECT_EQ(GetParent(window), nullptr);

  RECT client = {};
  GetClientRect(window, &client);
  EXPECT_EQ(client.right - client.left, 170);
  EXPECT_EQ(client.bottom - client.top, 90);

  RECT outer = {};
  GetWindowRect(window, &outer);
  const int width = outer.right - outer.left;
  const int height = outer.bottom - outer.top;
  EXPECT_EQ(outer.left, (GetSystemMetrics(SM_CXSCREEN) - width) / 2);
  EXPECT_EQ(outer.top, (GetSystemMetrics(SM_CYSCREEN) - height) / 2);
}

TEST_F(StatusWindowTest, TwoStaticColumnsWithTheirStylesPlacesAndTexts) {
  HWND window = open(request(u"on", u"off", u"on"));
  ASSERT_NE(window, nullptr);
  struct Row {
    int identifier;
    DWORD style;
    RECT rect;
    const wchar_t* text;
  };
  for (const Row& row : {
           Row{1, 0x50020082, {10, 10, 90, 80}, L"NUM-Lock:\r\n\r\nSCROLL-Lock:\r\n\r\nCAPS-Lock:"},
           Row{2, 0x50020080, {100, 10, 160, 80}, L"ON\r\n\r\nOFF\r\n\r\nON"},
       }) {
    HWND control = GetDlgItem(window, row.identifier);
    ASSERT_NE(control, nullptr) << row.identifier;
    EXPECT_EQ(classOf(control), L"Static");
    EXPECT_EQ(static_cast<DWORD>(GetWindowLongW(control, GWL_STYLE)), row.style);
    EXPECT_EQ(GetWindowLongW(control, GWL_EXSTYLE), 0);
    EXPECT_TRUE(sameRect(clientRectOf(control), row.rect)) << row.identifier;
    EXPECT_EQ(textOf(control), row.text);
  }
}

TEST_F(StatusWindowTest, ValueColumnShowsTheWordsAsTheyWereAsked) {
  struct Row {
    LockRequest request;
    const wchar_t* text;
  };
  for (const Row& row : {
           Row{request(u"", u"off", u""), L"\r\n\r\nOFF\r\n\r\n"},
           Row{request(u"a&b", u"toggle", u"\u00e4n"), L"A&B\r\n\r\nTOGGLE\r\n\r\n\u00c4N"},
       }) {
    HWND window = open(row.request);
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(textOf(GetDlgItem(window, 2)), row.text);
    window_.close();
  }
}

TEST_F(StatusWindowTest, FontsAreArialEightPointItalicAndBold) {
  HWND window = open(request(u"on", u"on", u"on"));
  ASSERT_NE(window, nullptr);
  const int height = -MulDiv(8, toolkit_.screenDpiY(), 72);
  struct Row {
    int identifier;
    LONG weight;
    BYTE italic;
  };
  for (const Row& row : {Row{1, FW_NORMAL, 1}, Row{2, FW_BOLD, 0}}) {
    auto font =
        reinterpret_cast<HFONT>(SendMessageW(GetDlgItem(window, row.identifier), WM_GETFONT, 0, 0));
    ASSERT_NE(font, nullptr);
    LOGFONTW logFont = {};
    ASSERT_EQ(GetObjectW(font, sizeof logFont, &logFont), static_cast<int>(sizeof logFont));
    EXPECT_STREQ(logFont.lfFaceName, L"Arial");
    EXPECT_EQ(logFont.lfHeight, height);
    EXPECT_EQ(logFont.lfWeight, row.weight);
    EXPECT_EQ(logFont.lfItalic, row.italic);
    EXPECT_EQ(logFont.lfCharSet, DEFAULT_CHARSET);
  }
}

TEST(FontHeightTest, MatchesWindowsMulDiv) {
  for (int dpi : {72, 96, 100, 117, 120, 125, 144, 150, 168, 192, 240, 288}) {
    EXPECT_EQ(fontHeightFor(dpi), -MulDiv(8, dpi, 72)) << dpi;
  }
}

struct ColourAnswerSeen {
  LRESULT brush;
  COLORREF text;
  COLORREF back;
};

ColourAnswerSeen askColours(HWND window, HWND control) {
  HDC dc = GetDC(control);
  SetTextColor(dc, 0x123456);
  SetBkColor(dc, 0x654321);
  const LRESULT brush = SendMessageW(window, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                                     reinterpret_cast<LPARAM>(control));
  ColourAnswerSeen seen{brush, GetTextColor(dc), GetBkColor(dc)};
  ReleaseDC(control, dc);
  return seen;
}

COLORREF brushColour(LRESULT brush) {
  LOGBRUSH logBrush = {};
  GetObjectW(reinterpret_cast<HBRUSH>(brush), sizeof logBrush, &logBrush);
  return logBrush.lbColor;
}

TEST_F(StatusWindowTest, ColumnsDrawBlueAndRedOnTheDialogFace) {
  HWND window = open(request(u"on", u"on", u"on"));
  ASSERT_NE(window, nullptr);
  const auto face = reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
  const ColourAnswerSeen label = askColours(window, GetDlgItem(window, 1));
  EXPECT_EQ(label.brush, face);
  EXPECT_EQ(label.text, 0xFF0000u);
  EXPECT_EQ(label.back, GetSysColor(COLOR_BTNFACE));
  const ColourAnswerSeen value = askColours(window, GetDlgItem(window, 2));
  EXPECT_EQ(value.brush, face);
  EXPECT_EQ(value.text, 0x0000FFu);
  EXPECT_EQ(value.back, GetSysColor(COLOR_BTNFACE));
}

TEST_F(StatusWindowTest, ColourRuleForEveryCombination) {
  HWND window = open(request(u"on", u"on", u"on"));
  ASSERT_NE(window, nullptr);
  HWND label = GetDlgItem(window, 1);
  const auto labelId = reinterpret_cast<ControlId>(label);

  toolkit_.setTextColour(labelId, 0x00FF00);
  toolkit_.setBackColour(labelId, 0x0000FF);
  ColourAnswerSeen seen = askColours(window, label);
  EXPECT_EQ(seen.text, 0x00FF00u);
  EXPECT_EQ(seen.back, 0x0000FFu);
  EXPECT_EQ(brushColour(seen.brush), 0x0000FFu) << "the control's own solid brush";

  toolkit_.setTextColour(labelId, kSystemColour);
  seen = askColours(window, label);
  EXPECT_EQ(seen.text, 0x123456u) << "text colour left as it was";
  EXPECT_EQ(seen.back, 0x0000FFu);
  EXPECT_EQ(brushColour(seen.brush), 0x0000FFu);

  toolkit_.setBackColour(labelId, kSystemColour);
  seen = askColours(window, label);
  HDC dc = GetDC(label);
  const LRESULT byDefault = DefWindowProcW(window, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                                           reinterpret_cast<LPARAM>(label));
  const COLORREF defaultText = GetTextColor(dc);
  ReleaseDC(label, dc);
  EXPECT_EQ(seen.brush, byDefault);
  EXPECT_EQ(seen.text, defaultText);
}

TEST_F(StatusWindowTest, AForeignControlGetsTheDefaultAnswer) {
  HWND window = open(request(u"on", u"on", u"on"));
  ASSERT_NE(window, nullptr);
  HWND foreign = CreateWindowExW(0, L"Static", L"x", WS_CHILD, 0, 0, 10, 10, window,
                                 reinterpret_cast<HMENU>(static_cast<INT_PTR>(9)),
                                 GetModuleHandleW(nullptr), nullptr);
  ASSERT_NE(foreign, nullptr);
  const ColourAnswerSeen seen = askColours(window, foreign);
  EXPECT_NE(seen.text, 0xFF0000u);
  EXPECT_NE(seen.text, 0x0000FFu);
}

TEST_F(StatusWindowTest, CloseRequestsAreSwallowed) {
  HWND window = open(request(u"on", u"on", u"on"));
  ASSERT_NE(window, nullptr);
  drainEvents(toolkit_);
  EXPECT_EQ(SendMessageW(window, WM_CLOSE, 0, 0), 0);
  PostMessageW(window, WM_CLOSE, 0, 0);
  const std::vector<std::int64_t> codes = drainEvents(toolkit_);
  EXPECT_TRUE(IsWindow(window));
  EXPECT_TRUE(IsWindowVisible(window));
  EXPECT_EQ(std::count(codes.begin(), codes.end(), kEventCloseRequested), 2);
  EXPECT_EQ(std::count(codes.begin(), codes.end(), 1), 0);
}

TEST_F(StatusWindowTest, TabMovesOnlyAmongTabStopsSoNothingChangesHere) {
  HWND window = open(request(u"on", u"on", u"on"));
  ASSERT_NE(window, nullptr);

  HACCEL table = toolkit_.acceleratorTableOf(window);
  ASSERT_NE(table, nullptr);
  ACCEL entries[4] = {};
  ASSERT_EQ(CopyAcceleratorTableW(table, entries, 4), 2);
  EXPECT_EQ(entries[0].fVirt, FVIRTKEY | FNOINVERT);
  EXPECT_EQ(entries[0].key, VK_TAB);
  EXPECT_EQ(entries[0].cmd, kCommandNextControl);
  EXPECT_EQ(entries[1].fVirt, FVIRTKEY | FNOINVERT | FSHIFT);
  EXPECT_EQ(entries[1].key, VK_TAB);
  EXPECT_EQ(entries[1].cmd, kCommandPreviousControl);

  drainEvents(toolkit_);
  HWND focusBefore = GetFocus();
  for (WORD command : {kCommandNextControl, kCommandPreviousControl}) {
    SendMessageW(window, WM_COMMAND, command, 0);
    EXPECT_EQ(GetFocus(), focusBefore);
  }

  // With a tab stop among the children the same commands do move the focus.
  const ControlId stop =
      toolkit_.addStatic(Win32WindowToolkit::toId(window),
                         {3, u"", WS_CHILD | WS_VISIBLE | WS_TABSTOP, {0, 0}, {5, 5}});
  ASSERT_NE(stop, 0u);
  SendMessageW(window, WM_COMMAND, kCommandNextControl, 0);
  EXPECT_EQ(GetFocus(), reinterpret_cast<HWND>(stop));
}

TEST_F(StatusWindowTest, ActivationGivesTheFocusBackToTheControlThatHadIt) {
  HWND window = open(request(u"on", u"on", u"on"));
  ASSERT_NE(window, nullptr);
  const ControlId stop =
      toolkit_.addStatic(Win32WindowToolkit::toId(window),
                         {3, u"", WS_CHILD | WS_VISIBLE | WS_TABSTOP, {0, 0}, {5, 5}});
  ASSERT_NE(stop, 0u);
  SetFocus(reinterpret_cast<HWND>(stop));
  drainEvents(toolkit_);

  EXPECT_EQ(SendMessageW(window, WM_ACTIVATE, WA_INACTIVE, 0), 1);
  SetFocus(nullptr);
  EXPECT_EQ(SendMessageW(window, WM_ACTIVATE, WA_ACTIVE, 0), 1);
  EXPECT_EQ(GetFocus(), reinterpret_cast<HWND>(stop));

  const std::vector<std::int64_t> codes = drainEvents(toolkit_);
  EXPECT_EQ(std::count(codes.begin(), codes.end(), kEventDeactivated), 1);
  EXPECT_EQ(std::count(codes.begin(), codes.end(), kEventActivated), 1);
}

TEST_F(StatusWindowTest, ClicksAndMovesAreRecordedAndChangeNothing) {
  HWND window = open(request(u"on", u"on", u"on"));
  ASSERT_NE(window, nullptr);
  drainEvents(toolkit_);
  RECT before = {};
  GetWindowRect(window, &before);
  for (UINT message : {WM_LBUTTONUP, WM_LBUTTONDBLCLK, WM_RBUTTONUP}) {
    EXPECT_EQ(SendMessageW(window, message, 0, MAKELPARAM(20, 20)), 0);
  }
  SetWindowPos(window, nullptr, before.left + 7, before.top, 0, 0,
               SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  const std::vector<std::int64_t> codes = drainEvents(toolkit_);
  EXPECT_EQ(std::count(codes.begin(), codes.end(), kEventClicked), 3);
  EXPECT_GE(std::count(codes.begin(), codes.end(), kEventMoved), 1);
  EXPECT_TRUE(IsWindowVisible(window));
  EXPECT_NE(GetWindowLongW(window, GWL_EXSTYLE) & WS_EX_TOPMOST, 0) << "still topmost";
}

TEST_F(StatusWindowTest, CloseDestroysTheWindowAndUnregistersTheClass) {
  HWND window = open(request(u"on", u"on", u"on"));
  ASSERT_NE(window, nullptr);
  HWND label = GetDlgItem(window, 1);
  PostMessageW(window, WM_CLOSE, 0, 0);
  window_.close();
  EXPECT_FALSE(IsWindow(window));
  EXPECT_FALSE(IsWindow(label));
  WNDCLASSW windowClass = {};
  EXPECT_FALSE(GetClassInfoW(GetModuleHandleW(nullptr), L"WindowClass_0", &windowClass));
  for (std::int64_t code : drainEvents(toolkit_)) {
    EXPECT_NE(code, kEventCloseRequested) << "events of a closed window are dropped";
  }
}

TEST_F(StatusWindowTest, AWindowThatCannotBeMadeLeavesNoClass) {
  // A child style without a parent cannot be created.
  const WindowId window = toolkit_.openWindow({u"x", WS_CHILD, {170, 90}, {0, 0}});
  EXPECT_EQ(window, 0u);
  WNDCLASSW windowClass = {};
  EXPECT_FALSE(GetClassInfoW(GetModuleHandleW(nullptr), L"WindowClass_0", &windowClass));
}

TEST_F(StatusWindowTest, EndClosesWhatIsStillOpen) {
  HWND window = open(request(u"on", u"on", u"on"));
  ASSERT_NE(window, nullptr);
  toolkit_.end();
  EXPECT_FALSE(IsWindow(window));
}

TEST(ClockTest, RealCounterGivesWholeMillisecondsFromZero) {
  Win32PerformanceCounter counter;
  CounterClock clock(counter);
  const std::int64_t startMs = clock.clockMs();
  EXPECT_LE(startMs, 1);
  Sleep(50);
  const std::int64_t laterMs = clock.clockMs();
  EXPECT_GE(laterMs - startMs, 49);
  EXPECT_LT(laterMs - startMs, 1000);
}

}  // namespace
}  // namespace kantrell
