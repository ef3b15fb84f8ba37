#include "x11/window_toolkit_x11.h"

#include <X11/Xatom.h>
#include <X11/Xutil.h>
#include <poll.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <string>

#include "core/utf8.h"
#include "status/status_style.h"
#include "toolkit/control_colours.h"

namespace kantrell {

namespace {

constexpr std::uint32_t kAlignmentBits = 0x3;  // SS_LEFT 0, SS_CENTER 1, SS_RIGHT 2
constexpr std::uint32_t kAlignRight = 0x2;
constexpr std::uint32_t kAlignCentre = 0x1;

// The toolkit's font for controls that have none of their own, as Windows gives its controls a
// stock font: 8 points of the desktop's sans-serif face.
constexpr char16_t kDefaultFace[] = u"sans-serif";

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
}

FontId X11WindowToolkit::createFont(const FontSpec& wanted) {
  fonts_.push_back(wanted);
  return fonts_.size();
}

WindowId X11WindowToolkit::openWindow(const WindowSpec& wanted) {
  if (wanted.clientSize.width <= 0 || wanted.clientSize.height <= 0) return 0;
  XColor face = {};
  face.red = static_cast<unsigned short>((kDialogFace & 0xFF) * 257);
  face.green = static_cast<unsigned short>(((kDialogFace >> 8) & 0xFF) * 257);
  face.blue = static_cast<unsigned short>(((kDialogFace >> 16) & 0xFF) * 257);
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
  const Rect whole{{0, 0}, {DisplayWidth(display_, screen_), DisplayHeight(display_, screen_)}};
  X11Drawing* module = drawing();
  return module == nullptr ? whole : module->primaryMonitor(whole);
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
  control.wanted = wanted;
  record->controls.push_back(control);
  redraw(parent);
  return control.id;
}

void X11WindowToolkit::setTextColour(ControlId control, Colour colour) {
  Window owner = None;
  if (ControlRecord* record = controlOf(control, &owner)) {
    record->textColour = colour;
    redraw(owner);
  }
}

void X11WindowToolkit::setBackColour(ControlId control, Colour colour) {
  Window owner = None;
  if (ControlRecord* record = controlOf(control, &owner)) {
    record->backColour = colour;
    redraw(owner);
  }
}

void X11WindowToolkit::setFont(ControlId control, FontId font) {
  Window owner = None;
  if (ControlRecord* record = controlOf(control, &owner)) {
    record->font = font;
    redraw(owner);
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

void X11WindowToolkit::redraw(Window window) {
  // Drawn only once the window shows; its first Expose draws everything.
  const WindowRecord* record = recordOf(window);
  if (record != nullptr && record->mapped) XClearArea(display_, window, 0, 0, 0, 0, True);
}

void X11WindowToolkit::draw(Window window, const WindowRecord& record) {
  X11Drawing* module = drawing();
  if (module == nullptr) return;
  std::vector<ControlLook> looks;
  for (const ControlRecord& control : record.controls) looks.push_back(lookOf(control));
  module->draw(window, looks);
}

ControlLook X11WindowToolkit::lookOf(const ControlRecord& control) const {
  ControlLook look;
  look.position = control.wanted.position;
  look.size = control.wanted.size;
  look.text = control.wanted.text;
  look.alignRight = (control.wanted.style & kAlignmentBits) == kAlignRight;
  look.alignCentre = (control.wanted.style & kAlignmentBits) == kAlignCentre;
  // The same rule as the system's request for a static control's colours.
  look.textColour = kWindowText;
  look.backColour = kDialogFace;
  switch (colourAnswerFor(control.textColour, control.backColour)) {
    case ColourAnswer::TextOnDialogFace:
      look.textColour = control.textColour;
      break;
    case ColourAnswer::TextOnOwnBrush:
      look.textColour = control.textColour;
      look.backColour = control.backColour;
      break;
    case ColourAnswer::OwnBrushOnly:
      look.backColour = control.backColour;
      break;
    case ColourAnswer::SystemDefault:
      break;
  }
  // A control without a font of its own draws in the toolkit's: 8 points of the desktop's
  // sans-serif face, as Windows gives its controls a stock font.
  look.font = control.font >= 1 && control.font <= fonts_.size()
                  ? fonts_[control.font - 1]
                  : FontSpec{fontHeightFor(dpiY_), 400, false, kDefaultFace};
  return look;
}

X11Drawing* X11WindowToolkit::drawing() {
  if (!drawingLoaded_) {
    drawingLoaded_ = true;
    drawing_ = loadX11Drawing(display_);
  }
  return drawing_.get();
}

void X11WindowToolkit::closeWindow(WindowId window) {
  const auto found = windows_.find(window);
  if (found == windows_.end()) return;
  if (drawing_) drawing_->forget(window);
  XDestroyWindow(display_, window);
  windows_.erase(found);
  std::erase_if(pendingEvents_,
                [window](const auto& event) { return event.first == static_cast<Window>(window); });
  // Gone from the screen now, not at the next request.
  XSync(display_, False);
}

void X11WindowToolkit::end() {
  while (!windows_.empty()) closeWindow(windows_.begin()->first);
  drawing_.reset();  // closes the fonts it opened
  fonts_.clear();
}

void X11WindowToolkit::recordEvent(Window window, std::int64_t code) {
  if (recordOf(window) != nullptr) pendingEvents_.emplace_back(window, code);
}

X11WindowToolkit::WindowRecord* X11WindowToolkit::recordOf(Window window) {
  const auto found = windows_.find(window);
  return found == windows_.end() ? nullptr : &found->second;
}

X11WindowToolkit::ControlRecord* X11WindowToolkit::controlOf(ControlId control, Window* owner) {
  for (auto& [window, record] : windows_) {
    for (ControlRecord& candidate : record.controls) {
      if (candidate.id != control) continue;
      *owner = window;
      return &candidate;
    }
  }
  return nullptr;
}

}  // namespace kantrell
