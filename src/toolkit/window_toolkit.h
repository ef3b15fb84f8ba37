// The window toolkit as the status window uses it: numbered top-level windows and static text
// controls with their own colours and fonts. Portable: each platform brings its implementation,
// the tests bring fakes. The event wait, the clock and the fonts are ports of their own.
#pragma once

#include <cstdint>

#include "core/text.h"
#include "toolkit/fonts.h"

namespace kantrell {

// Handles the toolkit hands out; 0 is "none" for each.
using WindowId = std::uintptr_t;
using ControlId = std::uintptr_t;

// A colour in the COLORREF layout 0x00BBGGRR, or kSystemColour for the system's default.
using Colour = std::int32_t;
inline constexpr Colour kSystemColour = -1;

struct Point {
  int x = 0;
  int y = 0;
  bool operator==(const Point&) const = default;
};

struct Size {
  int width = 0;
  int height = 0;
  bool operator==(const Size&) const = default;
};

struct Rect {
  Point origin;
  Size size;
  bool operator==(const Rect&) const = default;
};

struct WindowSpec {
  Text title;
  std::uint32_t style = 0;
  Size clientSize;
  Point position;
};

struct StaticSpec {
  int identifier = 0;
  Text text;
  std::uint32_t style = 0;
  Point position;  // in the parent's client coordinates
  Size size;
};

class WindowToolkit {
 public:
  virtual ~WindowToolkit() = default;

  // Reads the screen density, loads the application icon and the arrow cursor, chooses the
  // default font of new text controls and initialises the common controls.
  virtual void start() = 0;

  // Registers the window's numbered class and creates the window, hidden, with the given client
  // size. 0 when no window results (its class is then unregistered again).
  virtual WindowId openWindow(const WindowSpec& wanted) = 0;
  virtual Size windowSize(WindowId window) = 0;  // outer size
  virtual Rect primaryScreen() = 0;              // the whole primary screen, taskbar included
  virtual void moveWindow(WindowId window, Point position) = 0;
  // Shows and activates the window, then gives it its Tab / Shift+Tab accelerator table.
  virtual void showWindow(WindowId window) = 0;
  virtual void makeTopmost(WindowId window) = 0;

  // A static text control, first given the default control font; 0 when it cannot be made.
  virtual ControlId addStatic(WindowId parent, const StaticSpec& wanted) = 0;
  virtual void setTextColour(ControlId control, Colour colour) = 0;
  virtual void setBackColour(ControlId control, Colour colour) = 0;
  virtual void setFont(ControlId control, FontId font) = 0;  // 0 sends "no font": the system font

  // Destroys the window with its controls, accelerator table and pending events, and
  // unregisters its class.
  virtual void closeWindow(WindowId window) = 0;

  // Closes any window still open, destroys the icon, then deletes every font the toolkit holds.
  virtual void end() = 0;
};

}  // namespace kantrell
