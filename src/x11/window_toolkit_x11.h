// The window toolkit over Xlib: top-level windows whose static text controls the toolkit draws
// itself, as small suckless-style X programs do, without a widget library. The texts and the
// primary monitor come from the drawing module (Xft and RandR), loaded when first needed.
#pragma once

#include <X11/Xlib.h>

#include <cstdint>
#include <deque>
#include <map>
#include <memory>
#include <utility>
#include <vector>

#include "toolkit/event_wait.h"
#include "toolkit/fonts.h"
#include "toolkit/window_toolkit.h"
#include "x11/x11_drawing.h"

namespace kantrell {

// The dialog face of the status window: the grey Windows gives it.
inline constexpr Colour kDialogFace = 0xF0F0F0;
// Text drawn without a colour of its own.
inline constexpr Colour kWindowText = 0x000000;

class X11WindowToolkit final : public WindowToolkit, public FontMaker, public EventWait {
 public:
  explicit X11WindowToolkit(Display* display);
  ~X11WindowToolkit() override;
  X11WindowToolkit(const X11WindowToolkit&) = delete;
  X11WindowToolkit& operator=(const X11WindowToolkit&) = delete;

  // Reads the density from the Xft.dpi resource, as the other X programs of the session do.
  void start() override;
  int screenDpiY() const override { return dpiY_; }
  // Fonts are only described here; they are opened when a control is first drawn with them, so
  // that a run without the status window never starts fontconfig.
  FontId createFont(const FontSpec& wanted) override;

  // The client area has the given size; the window manager adds its frame around it.
  WindowId openWindow(const WindowSpec& wanted) override;
  Size windowSize(WindowId window) override;
  // The RandR primary monitor; the whole screen where none is marked primary.
  Rect primaryScreen() override;
  void moveWindow(WindowId window, Point position) override;
  // Mapped at the next event wait, once the window is complete: a window manager reads its
  // properties (above, fixed size) when it is first mapped.
  void showWindow(WindowId window) override;
  void makeTopmost(WindowId window) override;

  ControlId addStatic(WindowId parent, const StaticSpec& wanted) override;
  void setTextColour(ControlId control, Colour colour) override;
  void setBackColour(ControlId control, Colour colour) override;
  void setFont(ControlId control, FontId font) override;

  std::int64_t nextEvent(std::int32_t timeoutMs) override;
  void closeWindow(WindowId window) override;
  void end() override;

 private:
  struct ControlRecord {
    ControlId id = 0;
    StaticSpec wanted;
    Colour textColour = kSystemColour;
    Colour backColour = kSystemColour;
    FontId font = 0;
  };

  struct WindowRecord {
    Size size;
    Point position;
    bool mapPending = false;
    bool mapped = false;
    std::vector<ControlRecord> controls;
  };

  void setSizeHints(Window window, const WindowRecord& record);
  void mapPendingWindows();
  bool takeEvent(XEvent& event);
  void handleEvent(const XEvent& event);
  void draw(Window window, const WindowRecord& record);
  ControlLook lookOf(const ControlRecord& control) const;
  X11Drawing* drawing();
  void recordEvent(Window window, std::int64_t code);
  WindowRecord* recordOf(Window window);
  ControlRecord* controlOf(ControlId control, Window* owner);
  void redraw(Window window);

  Display* display_;
  int screen_;
  int dpiY_ = 96;
  Atom wmProtocols_ = None;
  Atom wmDeleteWindow_ = None;
  std::vector<FontSpec> fonts_;
  std::map<Window, WindowRecord> windows_;
  std::deque<std::pair<Window, std::int64_t>> pendingEvents_;
  ControlId controlsMade_ = 0;
  bool drawingLoaded_ = false;
  std::unique_ptr<X11Drawing> drawing_;
};

}  // namespace kantrell
