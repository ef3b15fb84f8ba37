// Entry point of kantrell, the Linux program: the words from the argument list, the lock keys
// of the X server or of the virtual console, the same run as on Windows.
#include <cstdio>
#include <string_view>
#include <vector>

#include "app/run.h"
#include "console/console_keyboard.h"
#include "console/console_status.h"
#include "core/utf8.h"
#include "core/version.h"
#include "core/words.h"
#include "linux/backend_choice.h"
#include "linux/session_linux.h"
#include "linux/system_linux.h"
#include "status/status_display.h"
#include "toolkit/clock.h"
#include "x11/keyboard_x11.h"
#include "x11/window_toolkit_x11.h"

namespace {

constexpr char kUsage[] =
    "Usage: kantrell [on|off] [on|off] [on|off] [seconds] [s]\n"
    "Puts Num Lock, Scroll Lock and Caps Lock into named states.\n"
    "\n"
    "  word 1   Num Lock: on or off, in any letter case; any other word leaves the key alone\n"
    "  word 2   Scroll Lock, the same way\n"
    "  word 3   Caps Lock, the same way\n"
    "  word 4   seconds to wait before any key is touched (default 0)\n"
    "  word 5   s or S shows the status: a window for five seconds on X11, three lines on a\n"
    "           console\n"
    "\n"
    "Works in an X11 session and on a Linux virtual console, not in a Wayland session. The exit\n"
    "status is 0, or 1 when there is neither (a line on standard error says why).\n"
    "\n"
    "  --help      show this text\n"
    "  --version   show the version\n"
    "\n"
    "See kantrell(1).\n";

}  // namespace

int main(int argc, char** argv) {
  using namespace kantrell;
  if (argc == 2) {
    const std::string_view only = argv[1];
    if (only == "--help") {
      std::fputs(kUsage, stdout);
      return 0;
    }
    if (only == "--version") {
      std::puts("kantrell " KANTRELL_VERSION_TEXT);
      return 0;
    }
  }

  // The shell has split and unquoted the words already; each argument is one word as it is.
  std::vector<Text> arguments;
  for (int i = 1; i < argc; ++i) arguments.push_back(textFromUtf8(argv[i]));
  ArgumentWords words(std::move(arguments));

  LinuxSession session;
  const BackendChoice choice = chooseBackend(session);
  LinuxTimer timer;
  switch (choice.backend) {
    case Backend::X11: {
      X11Keyboard keyboard(session.connection().display());
      X11WindowToolkit toolkit(session.connection().display());
      MonotonicCounter counter;
      CounterClock clock(counter);
      WindowStatusDisplay status(toolkit, toolkit, clock);
      Platform platform{keyboard, timer, toolkit, toolkit, status};
      return runProgram(words, platform);
    }
    case Backend::Console: {
      ConsoleKeyboard keyboard(session.console());
      NoWindows toolkit;
      TextStatusDisplay status(stdout);
      Platform platform{keyboard, timer, toolkit, toolkit, status};
      return runProgram(words, platform);
    }
    case Backend::Refused:
      break;
  }
  std::fprintf(stderr, "%s\n", choice.refusal.c_str());
  return 1;
}
