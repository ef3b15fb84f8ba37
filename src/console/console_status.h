// What the run needs of a platform without windows: a toolkit that makes nothing, and the status
// as three lines on standard output.
#pragma once

#include <cstdio>

#include "status/status_display.h"
#include "toolkit/fonts.h"
#include "toolkit/window_toolkit.h"

namespace kantrell {

// No window, no control and no font can be made; starting and ending do nothing.
class NoWindows final : public WindowToolkit, public FontMaker {
 public:
  void start() override {}
  int screenDpiY() const override { return 96; }
  FontId createFont(const FontSpec&) override { return 0; }
  WindowId openWindow(const WindowSpec&) override { return 0; }
  Size windowSize(WindowId) override { return {}; }
  Rect primaryScreen() override { return {}; }
  void moveWindow(WindowId, Point) override {}
  void showWindow(WindowId) override {}
  void makeTopmost(WindowId) override {}
  ControlId addStatic(WindowId, const StaticSpec&) override { return 0; }
  void setTextColour(ControlId, Colour) override {}
  void setBackColour(ControlId, Colour) override {}
  void setFont(ControlId, FontId) override {}
  void closeWindow(WindowId) override {}
  void end() override {}
};

// The status window's rows as lines of UTF-8 text, at once and without a wait.
class TextStatusDisplay final : public StatusDisplay {
 public:
  explicit TextStatusDisplay(std::FILE* out) : out_(out) {}
  void show(const LockRequest& request, const StatusStyle& style, const Text& versionText) override;

 private:
  std::FILE* out_;
};

}  // namespace kantrell
