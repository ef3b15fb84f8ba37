// The status window on a real X server, watched from outside as a window manager would see it:
// its properties, place, colours and lifetime.
// GoogleTest before Xlib, whose macros (None, Bool) would break its declarations.
#include <gtest/gtest.h>

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/Xrandr.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "core/version.h"
#include "x11_support.h"

namespace x11test {
namespace {

const std::string kKantrell = KANTRELL_BINARY;
constexpr char kTitle[] = "Statusmeldung: Kantrell V" KANTRELL_VERSION_TEXT;

std::vector<unsigned long> property(Display* display, Window window, const char* name, Atom type) {
  Atom actualType = None;
  int format = 0;
  unsigned long count = 0, after = 0;
  unsigned char* data = nullptr;
  std::vector<unsigned long> values;
  if (XGetWindowProperty(display, window, XInternAtom(display, name, False), 0, 1024, False, type,
                         &actualType, &format, &count, &after, &data) == Success &&
      data != nullptr) {
    if (format == 32) {
      const auto* longs = reinterpret_cast<const unsigned long*>(data);
      values.assign(longs, longs + count);
    } else {
      values.assign(data, data + count);
    }
    XFree(data);
  }
  return values;
}

std::string textProperty(Display* display, Window window, const char* name, Atom type) {
  const std::vector<unsigned long> bytes = property(display, window, name, type);
  return std::string(bytes.begin(), bytes.end());
}

// The viewable top-level window of a process, found by its _NET_WM_PID; None while there is none.
Window windowOf(Display* display, pid_t pid) {
  Window root = None, parent = None, *children = nullptr;
  unsigned count = 0;
  Window found = None;
  if (XQueryTree(display, DefaultRootWindow(display), &root, &parent, &children, &count) == 0) {
    return None;
  }
  for (unsigned i = 0; i < count && found == None; ++i) {
    const auto pids = property(display, children[i], "_NET_WM_PID", XA_CARDINAL);
    XWindowAttributes attributes = {};
    if (pids.size() == 1 && static_cast<pid_t>(pids[0]) == pid &&
        XGetWindowAttributes(display, children[i], &attributes) &&
        attributes.map_state == IsViewable) {
      found = children[i];
    }
  }
  if (children != nullptr) XFree(children);
  return found;
}

struct Pixels {
  int blue = 0, red = 0, face = 0, other = 0;
};

// Counts the colours in a part of the window: the label and value texts and the dialog grey.
Pixels pixelsIn(Display* display, Window window, int x, int y, int width, int height) {
  Pixels pixels;
  XImage* image = XGetImage(display, window, x, y, static_cast<unsigned>(width),
                            static_cast<unsigned>(height), AllPlanes, ZPixmap);
  if (image == nullptr) return pixels;
  for (int row = 0; row < height; ++row) {
    for (int column = 0; column < width; ++column) {
      const unsigned long pixel = XGetPixel(image, column, row);
      const unsigned r = (pixel >> 16) & 0xFF, g = (pixel >> 8) & 0xFF, b = pixel & 0xFF;
      if (pixel == 0xF0F0F0) {
        ++pixels.face;
      } else if (b > 160 && r < 140 && g < 140) {
        ++pixels.blue;
      } else if (r > 160 && g < 140 && b < 140) {
        ++pixels.red;
      } else {
        ++pixels.other;
      }
    }
  }
  XDestroyImage(image);
  return pixels;
}

class StatusWindowX11Test : public testing::Test {
 protected:
  void SetUp() override {
    display_ = openDisplay();
    ASSERT_NE(display_, nullptr);
    for (Lock lock : {Lock::Num, Lock::Scroll, Lock::Caps}) setOn(display_, lock, false);
  }
  void TearDown() override {
    // A kantrell a failed test left running would hold its window into the next test.
    if (spawned_.pid > 0 && waitpid(spawned_.pid, nullptr, WNOHANG) == 0) {
      kill(spawned_.pid, SIGKILL);
      finish(spawned_);
    }
    if (display_ == nullptr) return;
    for (Lock lock : {Lock::Num, Lock::Scroll, Lock::Caps}) setOn(display_, lock, false);
    XCloseDisplay(display_);
  }

  // Starts kantrell with the status word and waits for its window to show.
  Window start(const std::vector<std::string>& words) {
    spawned_ = spawn(kKantrell, words);
    started_ = nowMs();
    Window window = None;
    while (window == None && nowMs() - started_ < 5000) {
      usleep(5000);
      window = windowOf(display_, spawned_.pid);
    }
    shownAt_ = nowMs();
    return window;
  }

  // Waits until the window is gone; when that was, since kantrell was started.
  double goneAfterMs() {
    while (windowOf(display_, spawned_.pid) != None && nowMs() - shownAt_ < 10'000) usleep(5000);
    return nowMs() - started_;
  }

  Display* display_ = nullptr;
  Spawned spawned_;
  double started_ = 0;
  double shownAt_ = 0;
};

TEST_F(StatusWindowX11Test, TheWindowAsAWindowManagerSeesItForFiveSeconds) {
  const Window window = start({"on", "off", "ON", "0", "s"});
  ASSERT_NE(window, None) << "no window within 5 s";

  EXPECT_EQ(textProperty(display_, window, "WM_NAME", XA_STRING), kTitle);
  EXPECT_EQ(
      textProperty(display_, window, "_NET_WM_NAME", XInternAtom(display_, "UTF8_STRING", False)),
      kTitle);

  // Above other windows from its first map, at a size that cannot change.
  const auto states = property(display_, window, "_NET_WM_STATE", XA_ATOM);
  EXPECT_EQ(states,
            (std::vector<unsigned long>{XInternAtom(display_, "_NET_WM_STATE_ABOVE", False)}));
  XSizeHints hints = {};
  long supplied = 0;
  ASSERT_TRUE(XGetWMNormalHints(display_, window, &hints, &supplied));
  EXPECT_EQ(hints.flags & (PMinSize | PMaxSize), PMinSize | PMaxSize);
  EXPECT_EQ(hints.min_width, 170);
  EXPECT_EQ(hints.max_width, 170);
  EXPECT_EQ(hints.min_height, 90);
  EXPECT_EQ(hints.max_height, 90);

  // A 170 x 90 client area in the middle of the screen (no monitor is marked primary here).
  XWindowAttributes attributes = {};
  ASSERT_TRUE(XGetWindowAttributes(display_, window, &attributes));
  EXPECT_EQ(attributes.width, 170);
  EXPECT_EQ(attributes.height, 90);
  const int screenWidth = DisplayWidth(display_, DefaultScreen(display_));
  const int screenHeight = DisplayHeight(display_, DefaultScreen(display_));
  EXPECT_EQ(attributes.x, (screenWidth - 170) / 2);
  EXPECT_EQ(attributes.y, (screenHeight - 90) / 2);

  // It takes part in WM_DELETE_WINDOW, and a close request changes nothing.
  Atom* protocols = nullptr;
  int count = 0;
  ASSERT_TRUE(XGetWMProtocols(display_, window, &protocols, &count));
  const Atom deleteWindow = XInternAtom(display_, "WM_DELETE_WINDOW", False);
  EXPECT_EQ(std::vector<Atom>(protocols, protocols + count), std::vector<Atom>{deleteWindow});
  XFree(protocols);
  XEvent close = {};
  close.xclient.type = ClientMessage;
  close.xclient.window = window;
  close.xclient.message_type = XInternAtom(display_, "WM_PROTOCOLS", False);
  close.xclient.format = 32;
  close.xclient.data.l[0] = static_cast<long>(deleteWindow);
  close.xclient.data.l[1] = CurrentTime;
  XSendEvent(display_, window, False, NoEventMask, &close);
  XSync(display_, False);

  // Blue italic key names on the left, the red words on the right, all on the dialog grey. The
  // first Expose may take a moment to be drawn.
  Pixels labels, values;
  for (int i = 0; i < 100 && (labels.blue == 0 || values.red == 0); ++i) {
    usleep(10'000);
    labels = pixelsIn(display_, window, 10, 10, 80, 70);
    values = pixelsIn(display_, window, 100, 10, 60, 70);
  }
  EXPECT_GT(labels.blue, 30);
  EXPECT_EQ(labels.red, 0);
  EXPECT_GT(values.red, 30);
  EXPECT_EQ(values.blue, 0);
  const Pixels margin = pixelsIn(display_, window, 0, 0, 170, 8);
  EXPECT_EQ(margin.face, 170 * 8) << "dialog grey around the columns";

  // The keys were set before the window showed.
  EXPECT_TRUE(isOn(display_, Lock::Num));
  EXPECT_TRUE(isOn(display_, Lock::Caps));

  // From the start, the display cannot have ended before its five seconds, however late this
  // test saw the window appear; seen from its first sighting, it cannot last much over six.
  const double goneMs = goneAfterMs();
  const double shownMs = nowMs() - shownAt_;
  const Result result = finish(spawned_);
  EXPECT_GE(goneMs, 5000.0) << "five seconds, however it was asked to close";
  EXPECT_LE(shownMs, 6100.0);
  EXPECT_EQ(result.exitCode, 0);
  EXPECT_EQ(result.out + result.err, "");
}

TEST_F(StatusWindowX11Test, CentredOnThePrimaryMonitor) {
  // The right half of the screen's top half, marked primary, as a second monitor would be.
  XRRMonitorInfo* monitor = XRRAllocateMonitor(display_, 0);
  ASSERT_NE(monitor, nullptr);
  monitor->name = XInternAtom(display_, "KANTRELL-TEST", False);
  monitor->primary = True;
  monitor->x = 512;
  monitor->y = 0;
  monitor->width = 512;
  monitor->height = 384;
  monitor->mwidth = 135;
  monitor->mheight = 101;
  XRRSetMonitor(display_, DefaultRootWindow(display_), monitor);
  XSync(display_, False);

  const Window window = start({"", "", "", "0", "S"});
  XWindowAttributes attributes = {};
  const bool seen = window != None && XGetWindowAttributes(display_, window, &attributes);
  XRRDeleteMonitor(display_, DefaultRootWindow(display_), monitor->name);
  XSync(display_, False);
  XFree(monitor);

  ASSERT_TRUE(seen);
  EXPECT_EQ(attributes.x, 512 + (512 - 170) / 2);
  EXPECT_EQ(attributes.y, (384 - 90) / 2);
}

// The window's drawing comes from a module beside the program; a copy of the program in a folder
// someone else can write to must not take a module that someone else put there.
TEST_F(StatusWindowX11Test, TheDrawingModuleIsLoadedOnlyFromATrustedOwner) {
  if (geteuid() != 0) GTEST_SKIP() << "needs root to give the module another owner";
  namespace fs = std::filesystem;
  char pattern[] = "/tmp/kantrell-module-XXXXXX";
  ASSERT_NE(mkdtemp(pattern), nullptr);
  const fs::path prefix = pattern;
  fs::create_directories(prefix / "bin");
  fs::create_directories(prefix / "lib/kantrell");
  fs::copy_file(kKantrell, prefix / "bin/kantrell");
  const fs::path module = prefix / "lib/kantrell/x11-drawing.so";
  fs::copy_file(KANTRELL_DRAWING_MODULE_FILE, module);

  const auto moduleMapped = [&](uid_t owner) {
    EXPECT_EQ(chown(module.c_str(), owner, 0), 0);
    spawned_ = spawn((prefix / "bin/kantrell").string(), {"", "", "", "0", "s"});
    started_ = nowMs();
    bool mapped = false;
    for (int i = 0; i < 400 && windowOf(display_, spawned_.pid) == None; ++i) usleep(5000);
    usleep(300'000);  // drawn by now
    std::ifstream maps("/proc/" + std::to_string(spawned_.pid) + "/maps");
    const std::string text((std::istreambuf_iterator<char>(maps)),
                           std::istreambuf_iterator<char>());
    mapped = text.find(module.string()) != std::string::npos;
    kill(spawned_.pid, SIGTERM);
    finish(spawned_);
    return mapped;
  };
  EXPECT_TRUE(moduleMapped(0)) << "root's module is taken";
  EXPECT_FALSE(moduleMapped(65534)) << "another user's module is not";
  fs::remove_all(prefix);
}

}  // namespace
}  // namespace x11test
