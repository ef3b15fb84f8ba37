#include "toolkit/window_toolkit_win32.h"

#include <commctrl.h>

namespace kantrell {

namespace {

// Vertical pixels per logical inch of the display, or 96 when no display context can be made.
int readScreenDpiY() {
  HDC display = CreateDCW(L"DISPLAY", nullptr, nullptr, nullptr);
  if (display == nullptr) return 96;
  const int dpiY = GetDeviceCaps(display, LOGPIXELSY);
  DeleteDC(display);
  return dpiY;
}

}  // namespace

void Win32WindowToolkit::start() {
  dpiY_ = readScreenDpiY();
  icon_.reset(LoadIconW(module_, MAKEINTRESOURCEW(1)));
  cursor_ = LoadCursorW(nullptr, IDC_ARROW);
  defaultControlFont_ = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));

  INITCOMMONCONTROLSEX controls = {};
  controls.dwSize = sizeof controls;  // 8
  controls.dwICC = ICC_TAB_CLASSES | ICC_HOTKEY_CLASS | ICC_DATE_CLASSES | ICC_USEREX_CLASSES |
                   ICC_INTERNET_CLASSES;  // 0xB48
  InitCommonControlsEx(&controls);
}

void Win32WindowToolkit::end() {
  icon_.reset();
  fonts_.clear();
}

}  // namespace kantrell
