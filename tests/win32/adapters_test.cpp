// The Win32 adapters, on the real system calls (under Wine on Linux).
#include <gtest/gtest.h>

#include "core/text.h"
#include "win32/window_toolkit_win32.h"

namespace kantrell {
namespace {

TEST(CaseMappingTest, MapsWholeStringsAsWindowsDoes) {
  struct Row {
    Text text, lower, upper;
  };
  for (const Row& row : {
           Row{u"ON Off oN", u"on off on", u"ON OFF ON"},
           Row{u"a&b", u"a&b", u"A&B"},
           Row{u"\u00c4rger \u00fcber \u00df", u"\u00e4rger \u00fcber \u00df",
               u"\u00c4RGER \u00dcBER \u00df"},  // beyond ASCII, as Windows maps it
           Row{u"Toggle 1 $FF", u"toggle 1 $ff", u"TOGGLE 1 $FF"},
           Row{u"", u"", u""},
       }) {
    EXPECT_EQ(lowerCased(row.text), row.lower);
    EXPECT_EQ(upperCased(row.text), row.upper);
  }
}

TEST(CaseMappingTest, LeavesTheArgumentUntouchedAndTheLengthUnchanged) {
  const Text original = u"On\tOFF";
  const Text lower = lowerCased(original);
  EXPECT_EQ(original, u"On\tOFF");
  EXPECT_EQ(lower.size(), original.size());
}

TEST(WindowToolkitTest, StartReadsTheDensityAndTheDefaults) {
  Win32WindowToolkit toolkit(GetModuleHandleW(nullptr));
  toolkit.start();
  HDC display = GetDC(nullptr);
  EXPECT_EQ(toolkit.screenDpiY(), GetDeviceCaps(display, LOGPIXELSY));
  ReleaseDC(nullptr, display);
  EXPECT_EQ(toolkit.arrowCursor(), LoadCursorW(nullptr, IDC_ARROW));
  EXPECT_EQ(toolkit.defaultControlFont(), GetStockObject(DEFAULT_GUI_FONT));
  toolkit.end();
}

}  // namespace
}  // namespace kantrell
