#include "x11/window_toolkit_x11.h"

#include <X11/Xatom.h>
#include <X11/Xutil.h>
#include <X11/extensions/Xrandr.h>
#include <fontconfig/fontconfig.h>
#include <poll.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <string>

#include "core/utf8.h"
#include "toolkit/control_colours.h"

namespace kantrell {

namespace {

constexpr std::uint32_t kAlignmentBits = 0x3;  // SS_LEFT 0, SS_CENTER 1, SS_RIGHT 2
constexpr std::uint32_t kAlignRight = 0x2;
constexpr std::uint32_t kAlignCentre = 0x1;

// The toolkit's font for controls that have none of their own, as Windows gives its controls a
// stock font: 8 points of the desktop's sans-serif face.
constexpr char16_t kDefaultFace[] = u"sans-serif";

XRenderColor renderColour(Colour colour) {
  const auto channel = [colour](int shift) {
    return static_cast<unsigned short>(((static_cast<std::uint32_t>(colour) >> shift) & 0xFF) *
                                       257);
  };
  return {channel(0), channel(8), channel(16), 0xFFFF};  // 0x00BBGGRR
}

// The lines of a control's text: CR LF (or a lone LF) ends a line.
std::vector<Text> linesOf(const Text& text) {
  std::vector<Text> lines(1);
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n') continue;
    if (text[i] == u'\n') {
      lines.emplace_back();
    } else {
      lines.back().push_back(text[i]);
    }
  }
  return lines;
}

// A Windows font weight (100 thin to 900 black) as fontconfig counts it.
int fontconfigWeight(int weight) {
  struct Step {
    int windows, fontconfig;
  };
  constexpr Step steps[] = {
      {100, FC_WEIGHT_THIN},    {200, FC_WEIGHT_EXTRALIGHT}, {300, FC_WEIGHT_LIGHT},
      {400, FC_WEIGHT_REGULAR}, {500, FC_WEIGHT_MEDIUM},     {600, FC_WEIGHT_DEMIBOLD},
      {700, FC_WEIGHT_BOLD},    {800, FC_WEIGHT_EXTRABOLD},  {900, FC_WEIGHT_BLACK}};
  int result = FC_WEIGHT_REGULAR;
  for (const Step& step : steps) {
    if (weight >= step.windows) result = step.fontconfig;
  }
  return result;
}

const FcChar16* units(const Text& text) { return reinterpret_cast<const FcChar16*>(text.data()); }

// EWMH and Motif hints, sent to the root window or set on the window as window managers read them.
struct MotifHints {
  unsigned long flags = 0x1 | 0x2;        // functions and decorations given
  unsigned long functions = 0x4;          // moving only: no close, resize or minimise
  unsigned long decorations = 0x2 | 0x8;  // a border and a title, no buttons
  long inputMode = 0;
  unsigned long status = 0;
};

}  // namespace

X11WindowToolkit::X11WindowToolkit(Display* display)
    : display_(display), screen_(DefaultScreen(display)) {}

X11WindowToolkit::~X11WindowToolkit() { end(); }

void X11WindowToolkit::start() {
  if (const char* dpi = XGetDefault(display_, "Xft", "dpi")) {
    const double value = std::atof(dpi);
    if (value >= 1.0 && value < 10'000.0) dpiY_ = static_cast<int>(std::lround(value));
  }
  wmProtocols_ = XInternAtom(display_, "WM_PROTOCOLS", False);
  wmDeleteWindow_ = XInternAtom(display_, "WM_DELETE_WINDOW", False);
  defaultFont_.spec = {-((8 * dpiY_ + 36) / 72), 400, false, kDefaultFace};
}

FontId X11WindowToolkit::createFont(const FontSpec& wanted) {
  FontRecord record;
  record.spec = wanted;
  fonts_.push_back(record);
  return fonts_.size();
}

WindowId X11WindowToolkit::openWindow(const WindowSpec& wanted) {
  if (wanted.clientSize.width <= 0 || wanted.clientSize.height <= 0) return 0;
  XColor face = {};
  const XRenderColor faceColour = renderColour(kDialogFace);
  face.red = faceColour.red;
  face.green = faceColour.green;
  face.blue = faceColour.blue;
  XAllocColor(display_, DefaultColormap(display_, screen_), &face);

  XSetWindowAttributes attributes = {};
  attributes.background_pixel = face.pixel;
  attributes.event_mask = ExposureMask | StructureNotifyMask | ButtonPressMask | ButtonReleaseMask |
                          FocusChangeMask | KeyPressMask | KeyReleaseMask;
  const Window window =
      XCreateWindow(display_, RootWindow(display_, screen_), wanted.position.x, wanted.position.y,
                    static_cast<unsigned>(wanted.clientSize.width),
                    static_cast<unsigned>(wanted.clientSize.height), 0, CopyFromParent, InputOutput,
                    CopyFromParent, CWBackPixel | CWEventMask, &attributes);
  if (window == None) return 0;

  WindowRecord& record = windows_[window];
  record.size = wanted.clientSize;
  record.position = wanted.position;

  // WM_NAME, WM_CLASS, WM_CLIENT_MACHINE and WM_NORMAL_HINTS, then the UTF-8 name of EWMH.
  std::string title = utf8From(wanted.title);
  XClassHint classHint = {};
  std::string name = "kantrell";
  std::string className = "Kantrell";
  classHint.res_name = name.data();
  classHint.res_class = className.data();
  Xutf8SetWMProperties(display_, window, title.c_str(), title.c_str(), nullptr, 0, nullptr, nullptr,
                       &classHint);
  setSizeHints(window, record);
  XChangeProperty(display_, window, XInternAtom(display_, "_NET_WM_NAME", False),
                  XInternAtom(display_, "UTF8_STRING", False), 8, PropModeReplace,
                  reinterpret_cast<const unsigned char*>(title.data()),
                  static_cast<int>(title.size()));
  const long pid = getpid();
  XChangeProperty(display_, window, XInternAtom(display_, "_NET_WM_PID", False), XA_CARDINAL, 32,
                  PropModeReplace, reinterpret_cast<const unsigned char*>(&pid), 1);
  // A close request arrives as a message the toolkit can swallow, not as a killed connection.
  XSetWMProtocols(display_, window, &wmDeleteWindow_, 1);
  MotifHints motif;
  const Atom motifAtom = XInternAtom(display_, "_MOTIF_WM_HINTS", False);
  XChangeProperty(display_, window, motifAtom, motifAtom, 32, PropModeReplace,
                  reinterpret_cast<const unsigned char*>(&motif), 5);
  return window;
}

void X11WindowToolkit::setSizeHints(Window window, const WindowRecord& record) {
  // A size that cannot be changed (minimum = maximum), placed where the program put it, with the
  // client area at that place whatever frame the window manager adds.
  XSizeHints* hints = XAllocSizeHints();
  if (hints == nullptr) return;
  hints->flags = PMinSize | PMaxSize | USPosition | PPosition | PWinGravity;
  hints->min_width = hints->max_width = record.size.width;
  hints->min_height = hints->max_height = record.size.height;
  hints->x = record.position.x;
  hints->y = record.position.y;
  hints->win_gravity = StaticGravity;
  XSetWMNormalHints(display_, window, hints);
  XFree(hints);
}

Size X11WindowToolkit::windowSize(WindowId window) {
  const WindowRecord* record = recordOf(window);
  return record == nullptr ? Size{} : record->size;
}

Rect X11WindowToolkit::primaryScreen() {
  const Window root = RootWindow(display_, screen_);
  Rect whole{{0, 0}, {DisplayWidth(display_, screen_), DisplayHeight(display_, screen_)}};
  int event = 0, error = 0, major = 0, minor = 0;
  if (!XRRQueryExtension(display_, &event, &error) || !XRRQueryVersion(display_, &major, &minor) ||
      major * 100 + minor < 105) {
    return whole;
  }
  int count = 0;
  XRRMonitorInfo* monitors = XRRGetMonitors(display_, root, True, &count);
  for (int i = 0; monitors != nullptr && i < count; ++i) {
    if (monitors[i].primary) {
      whole = {{monitors[i].x, monitors[i].y}, {monitors[i].width, monitors[i].height}};
      break;
    }
  }
  if (monitors != nullptr) XRRFreeMonitors(monitors);
  return whole;
}

void X11WindowToolkit::moveWindow(WindowId window, Point position) {
  WindowRecord* record = recordOf(window);
  if (record == nullptr) return;
  record->position = position;
  XMoveWindow(display_, window, position.x, position.y);
  setSizeHints(window, *record);
}

void X11WindowToolkit::showWindow(WindowId window) {
  if (WindowRecord* record = recordOf(window)) record->mapPending = !record->mapped;
}

void X11WindowToolkit::makeTopmost(WindowId window) {
  WindowRecord* record = recordOf(window);
  if (record == nullptr) return;
  const Atom state = XInternAtom(display_, "_NET_WM_STATE", False);
  const Atom above = XInternAtom(display_, "_NET_WM_STATE_ABOVE", False);
  if (!record->mapped) {
    // Before the first map the state is a property the window manager reads when it maps.
    XChangeProperty(display_, window, state, XA_ATOM, 32, PropModeAppend,
                    reinterpret_cast<const unsigned char*>(&above), 1);
    return;
  }
  XEvent message = {};
  message.xclient.type = ClientMessage;
  message.xclient.window = window;
  message.xclient.message_type = state;
  message.xclient.format = 32;
  message.xclient.data.l[0] = 1;  // _NET_WM_STATE_ADD
  message.xclient.data.l[1] = static_cast<long>(above);
  message.xclient.data.l[3] = 1;  // from an application
  XSendEvent(display_, RootWindow(display_, screen_), False,
             SubstructureRedirectMask | SubstructureNotifyMask, &message);
}

ControlId X11WindowToolkit::addStatic(WindowId parent, const StaticSpec& wanted) {
  WindowRecord* record = recordOf(parent);
  if (record == nullptr) return 0;
  ControlRecord control;
  control.id = ++controlsMade_;
  control.spec = wanted;
  record->controls.push_back(control);
  redraw(*record);
  return control.id;
}

void X11WindowToolkit::setTextColour(ControlId control, Colour colour) {
  WindowRecord* owner = nullptr;
  if (ControlRecord* record = controlOf(control, &owner)) {
    record->textColour = colour;
    redraw(*owner);
  }
}

void X11WindowToolkit::setBackColour(ControlId control, Colour colour) {
  WindowRecord* owner = nullptr;
  if (ControlRecord* record = controlOf(control, &owner)) {
    record->backColour = colour;
    redraw(*owner);
  }
}

void X11WindowToolkit::setFont(ControlId control, FontId font) {
  WindowRecord* owner = nullptr;
  if (ControlRecord* record = controlOf(control, &owner)) {
    record->font = font;
    redraw(*owner);
  }
}

std::int64_t X11WindowToolkit::nextEvent(std::int32_t timeoutMs) {
  mapPendingWindows();
  if (!pendingEvents_.empty()) {
    const std::int64_t code = pendingEvents_.front().second;
    pendingEvents_.pop_front();
    return code;
  }

  XEvent event = {};
  if (timeoutMs == -1) {
    XNextEvent(display_, &event);
  } else if (!takeEvent(event)) {
    if (timeoutMs == 0) return 0;
    pollfd connection = {ConnectionNumber(display_), POLLIN, 0};
    // Asleep until the server sends something or the time is up; woken without an event, the
    // wait gives 0 as a time-out does.
    if (poll(&connection, 1, timeoutMs) <= 0) return 0;
    if (!takeEvent(event)) return 0;
  }
  handleEvent(event);
  // X event types start at 2: never 0 or 1.
  return event.type;
}

void X11WindowToolkit::mapPendingWindows() {
  for (auto& [window, record] : windows_) {
    if (!record.mapPending) continue;
    record.mapPending = false;
    record.mapped = true;
    XMapRaised(display_, window);
  }
}

bool X11WindowToolkit::takeEvent(XEvent& event) {
  if (XPending(display_) == 0) return false;  // flushes the requests made so far
  XNextEvent(display_, &event);
  return true;
}

void X11WindowToolkit::handleEvent(const XEvent& event) {
  const Window window = event.xany.window;
  WindowRecord* record = recordOf(window);
  if (record == nullptr) return;
  switch (event.type) {
    case Expose:
      if (event.xexpose.count == 0) {
        draw(window, *record);
        recordEvent(window, kEventRepainted);
      }
      break;
    case ClientMessage:
      // Swallowed: only the program decides when its window goes.
      if (event.xclient.message_type == wmProtocols_ &&
          static_cast<Atom>(event.xclient.data.l[0]) == wmDeleteWindow_) {
        recordEvent(window, kEventCloseRequested);
      }
      break;
    case ButtonRelease:
      if (event.xbutton.button == Button1 || event.xbutton.button == Button3) {
        recordEvent(window, kEventClicked);
      }
      break;
    case ConfigureNotify:
      recordEvent(window, kEventMoved);
      break;
    case FocusIn:
      recordEvent(window, kEventActivated);
      break;
    case FocusOut:
      recordEvent(window, kEventDeactivated);
      break;
    default:
      break;
  }
}

void X11WindowToolkit::redraw(WindowRecord& record) {
  // Drawn only once the window shows; its first Expose draws everything.
  if (!record.mapped) return;
  for (auto& [window, candidate] : windows_) {
    if (&candidate == &record) {
      XClearArea(display_, window, 0, 0, 0, 0, True);
      return;
    }
  }
}

void X11WindowToolkit::draw(Window window, WindowRecord& record) {
  if (record.draw == nullptr) {
    record.draw = XftDrawCreate(display_, window, DefaultVisual(display_, screen_),
                                DefaultColormap(display_, screen_));
    if (record.draw == nullptr) return;
  }
  for (const ControlRecord& control : record.controls) drawControl(record, control);
}

void X11WindowToolkit::drawControl(WindowRecord& record, const ControlRecord& control) {
  const StaticSpec& spec = control.spec;
  XRectangle box = {static_cast<short>(spec.position.x), static_cast<short>(spec.position.y),
                    static_cast<unsigned short>(std::max(spec.size.width, 0)),
                    static_cast<unsigned short>(std::max(spec.size.height, 0))};
  XftDrawSetClipRectangles(record.draw, 0, 0, &box, 1);

  // The same rule as the system's request for a static control's colours.
  Colour text = kWindowText;
  Colour back = kDialogFace;
  switch (colourAnswerFor(control.textColour, control.backColour)) {
    case ColourAnswer::TextOnDialogFace:
      text = control.textColour;
      break;
    case ColourAnswer::TextOnOwnBrush:
      text = control.textColour;
      back = control.backColour;
      break;
    case ColourAnswer::OwnBrushOnly:
      back = control.backColour;
      break;
    case ColourAnswer::SystemDefault:
      break;
  }
  Visual* visual = DefaultVisual(display_, screen_);
  const Colormap colormap = DefaultColormap(display_, screen_);
  XftColor backColour = {}, textColour = {};
  const XRenderColor backRender = renderColour(back), textRender = renderColour(text);
  XftColorAllocValue(display_, visual, colormap, &backRender, &backColour);
  XftColorAllocValue(display_, visual, colormap, &textRender, &textColour);
  XftDrawRect(record.draw, &backColour, box.x, box.y, box.width, box.height);

  if (XftFont* font = fontFor(control.font)) {
    const int lineHeight = font->ascent + font->descent;
    int top = spec.position.y;
    for (const Text& line : linesOf(spec.text)) {
      XGlyphInfo extents = {};
      XftTextExtents16(display_, font, units(line), static_cast<int>(line.size()), &extents);
      int x = spec.position.x;
      if ((spec.style & kAlignmentBits) == kAlignRight) {
        x += spec.size.width - extents.xOff;
      } else if ((spec.style & kAlignmentBits) == kAlignCentre) {
        x += (spec.size.width - extents.xOff) / 2;
      }
      XftDrawString16(record.draw, &textColour, font, x, top + font->ascent, units(line),
                      static_cast<int>(line.size()));
      top += lineHeight;
    }
  }
  XftColorFree(display_, visual, colormap, &textColour);
  XftColorFree(display_, visual, colormap, &backColour);
  XftDrawSetClip(record.draw, None);
}

XftFont* X11WindowToolkit::fontFor(FontId id) {
  FontRecord* record = id >= 1 && id <= fonts_.size() ? &fonts_[id - 1] : &defaultFont_;
  if (!record->opened) {
    record->opened = true;
    const std::string face = utf8From(record->spec.face);
    // A negative height is the character height in pixels: the font's pixel size.
    const double pixels = std::abs(record->spec.height);
    record->font =
        XftFontOpen(display_, screen_, XFT_FAMILY, XftTypeString, face.c_str(), XFT_PIXEL_SIZE,
                    XftTypeDouble, pixels > 0 ? pixels : 11.0, XFT_WEIGHT, XftTypeInteger,
                    fontconfigWeight(record->spec.weight), XFT_SLANT, XftTypeInteger,
                    record->spec.italic ? FC_SLANT_ITALIC : FC_SLANT_ROMAN, nullptr);
  }
  if (record->font == nullptr && record != &defaultFont_) return fontFor(0);
  return record->font;
}

void X11WindowToolkit::closeWindow(WindowId window) {
  const auto found = windows_.find(window);
  if (found == windows_.end()) return;
  if (found->second.draw != nullptr) XftDrawDestroy(found->second.draw);
  XDestroyWindow(display_, window);
  windows_.erase(found);
  std::erase_if(pendingEvents_,
                [window](const auto& event) { return event.first == static_cast<Window>(window); });
  // Gone from the screen now, not at the next request.
  XSync(display_, False);
}

void X11WindowToolkit::end() {
  while (!windows_.empty()) closeWindow(windows_.begin()->first);
  for (FontRecord& record : fonts_) {
    if (record.font != nullptr) XftFontClose(display_, record.font);
    record.font = nullptr;
  }
  if (defaultFont_.font != nullptr) XftFontClose(display_, defaultFont_.font);
  defaultFont_.font = nullptr;
  fonts_.clear();
}

void X11WindowToolkit::recordEvent(Window window, std::int64_t code) {
  if (recordOf(window) != nullptr) pendingEvents_.emplace_back(window, code);
}

X11WindowToolkit::WindowRecord* X11WindowToolkit::recordOf(Window window) {
  const auto found = windows_.find(window);
  return found == windows_.end() ? nullptr : &found->second;
}

X11WindowToolkit::ControlRecord* X11WindowToolkit::controlOf(ControlId control,
                                                             WindowRecord** owner) {
  for (auto& [window, record] : windows_) {
    for (ControlRecord& candidate : record.controls) {
      if (candidate.id != control) continue;
      if (owner != nullptr) *owner = &record;
      return &candidate;
    }
  }
  return nullptr;
}

}  // namespace kantrell
