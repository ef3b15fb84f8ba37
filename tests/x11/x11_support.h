// What the X11 tests need: the kantrell binary run as a user would run it, and the X server's own
// view of the lock keys and of windows, read and set through XKB and XTest by the tests
// themselves.
#pragma once

#include <X11/Xlib.h>
#include <sys/types.h>

#include <string>
#include <utility>
#include <vector>

namespace x11test {

// One environment change for a run: a value, or nullptr to unset the variable.
using EnvChange = std::pair<std::string, const char*>;

struct Spawned {
  pid_t pid = -1;
  int out = -1;
  int err = -1;
};

struct Result {
  bool exited = false;
  int exitCode = -1;
  std::string out;
  std::string err;
  double ms = 0;
};

// Starts `program` with `args` in a session of its own (so without a controlling terminal), with
// the tests' environment, without any Wayland session variable, changed by `env`.
Spawned spawn(const std::string& program, const std::vector<std::string>& args,
              const std::vector<EnvChange>& env = {});
// Waits for it (killing it after `limitMs`) and collects its output.
Result finish(const Spawned& spawned, int limitMs = 20'000);
Result run(const std::string& program, const std::vector<std::string>& args,
           const std::vector<EnvChange>& env = {});

// Milliseconds on the monotonic clock.
double nowMs();

// Opens the test X server for the tests' own requests. A window kantrell destroys between two of
// them makes the second fail with BadWindow; the tests read that from the results, so protocol
// errors must not end the test program as Xlib's default handler would.
Display* openDisplay();

enum class Lock { Num, Scroll, Caps };

// The lock state as the server reports it: the locked Lock modifier, the locked modifier Num_Lock
// is bound to, the "Scroll Lock" indicator.
bool isOn(Display* display, Lock lock);
// Sets it through XKB and waits until the server has done it.
void setOn(Display* display, Lock lock, bool on);
// Presses or releases the key through XTest, as a finger on the keyboard would.
void press(Display* display, Lock lock, bool down);

}  // namespace x11test
