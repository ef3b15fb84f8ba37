// The Win32 adapters, on the real system calls (under Wine on Linux).
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>

#include "core/text.h"
#include "status/status_style.h"
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

// Run by the density test with the system set to a density other than Wine's usual 96: the
// toolkit must read it, and the fonts must follow it.
TEST(DensityTest, StartUpReadsTheSystemDensityAndTheFontsFollowIt) {
  const char* expected = std::getenv("KANTRELL_EXPECTED_DPI");
  if (expected == nullptr) GTEST_SKIP() << "runs with the density set (at-density.sh)";
  const int dpi = std::atoi(expected);
  Win32WindowToolkit toolkit(GetModuleHandleW(nullptr));
  toolkit.start();
  EXPECT_EQ(toolkit.screenDpiY(), dpi);

  struct Row {
    int dpi, height;
  };
  const Row rows[] = {{96, -11}, {120, -13}, {144, -16}};
  const auto row =
      std::find_if(std::begin(rows), std::end(rows), [dpi](const Row& r) { return r.dpi == dpi; });
  ASSERT_NE(row, std::end(rows)) << "no expected height for " << dpi << " dpi";
  const StatusStyle style = prepareStatusStyle(toolkit);
  for (FontId font : {style.labelFont, style.valueFont}) {
    LOGFONTW logFont = {};
    ASSERT_EQ(GetObjectW(reinterpret_cast<HFONT>(font), sizeof logFont, &logFont),
              static_cast<int>(sizeof logFont));
    EXPECT_EQ(logFont.lfHeight, row->height);
  }
  toolkit.end();
}

}  // namespace
}  // namespace kantrell
