// The window toolkit over Win32: one thread, windows numbered in the order they are made, each
// with a class of its own ("WindowClass_0" for the first).
#pragma once

#include <windows.h>

#include <cstdint>
#include <deque>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "toolkit/event_wait.h"
#include "toolkit/fonts.h"
#include "toolkit/window_toolkit.h"
#include "win32/unique_handle_win32.h"

namespace kantrell {

// Tab and Shift+Tab in every window of the toolkit.
inline constexpr WORD kCommandNextControl = 64001;
inline constexpr WORD kCommandPreviousControl = 64002;

class Win32WindowToolkit final : public WindowToolkit, public FontMaker, public EventWait {
 public:
  explicit Win32WindowToolkit(HINSTANCE module);
  ~Win32WindowToolkit() override;
  Win32WindowToolkit(const Win32WindowToolkit&) = delete;
  Win32WindowToolkit& operator=(const Win32WindowToolkit&) = delete;

  void start() override;
  int screenDpiY() const override { return dpiY_; }
  FontId createFont(const FontSpec& wanted) override;
  WindowId openWindow(const WindowSpec& wanted) override;
  Size windowSize(WindowId window) override;
  Rect primaryScreen() override;
  void moveWindow(WindowId window, Point position) override;
  void showWindow(WindowId window) override;
  void makeTopmost(WindowId window) override;
  ControlId addStatic(WindowId parent, const StaticSpec& wanted) override;
  void setTextColour(ControlId control, Colour colour) override;
  void setBackColour(ControlId control, Colour colour) override;
  void setFont(ControlId control, FontId font) override;
  std::int64_t nextEvent(std::int32_t timeoutMs) override;
  void closeWindow(WindowId window) override;
  void end() override;

  HINSTANCE module() const { return module_; }
  HICON applicationIcon() const { return icon_.get(); }
  HCURSOR arrowCursor() const { return cursor_; }
  HFONT defaultControlFont() const { return defaultControlFont_; }
  HACCEL acceleratorTableOf(HWND window) const;

  // Window and control handles are both HWNDs underneath.
  static HWND toWindow(std::uintptr_t id) { return reinterpret_cast<HWND>(id); }
  static WindowId toId(HWND window) { return reinterpret_cast<WindowId>(window); }

 private:
  struct ControlRecord {
    HWND control = nullptr;
    int identifier = 0;
    Colour textColour = kSystemColour;
    Colour backColour = kSystemColour;
    UniqueBrush backBrush;  // only while the background colour is not the system's
  };

  struct WindowRecord {
    UniqueWindow window;
    std::wstring className;
    UniqueAcceleratorTable accelerators;
    std::vector<ControlRecord> controls;
    HWND focusBeforeDeactivation = nullptr;
    bool shown = false;  // created, placed and shown: moves and sizes count from here
  };

  static LRESULT CALLBACK windowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT handleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT onControlColour(WindowRecord* record, HWND window, HDC dc, HWND control);
  LRESULT onActivate(WindowRecord* record, HWND window, WPARAM wParam);
  void onNcDestroy(HWND window);

  WindowRecord* recordOf(HWND window);
  ControlRecord* controlRecordOf(HWND control);
  void recordEvent(HWND window, std::int64_t code);
  void dropEventsOf(HWND window);

  HINSTANCE module_;
  int dpiY_ = 96;
  UniqueIcon icon_;
  HCURSOR cursor_ = nullptr;            // a shared system cursor: never destroyed
  HFONT defaultControlFont_ = nullptr;  // a stock object: never deleted
  std::vector<UniqueFont> fonts_;
  std::map<HWND, WindowRecord> windows_;
  std::deque<std::pair<HWND, std::int64_t>> pendingEvents_;
  int windowsMade_ = 0;
};

}  // namespace kantrell
