// Starts KANTRELL.exe with an exact raw command line and records, from outside, what it does:
// the key events it injects (through a low-level keyboard hook), its status window, and how and
// when it ends. Times are milliseconds since just before the process was created.
#pragma once

#include <windows.h>

#include <string>
#include <utility>
#include <vector>

namespace probe {

struct KeyEvent {
  DWORD virtualKey;
  DWORD scanCode;
  DWORD flags;  // LLKHF_*: 0x10 injected, 0x80 key up, 0x01 extended
  double atMs;
};

struct WindowSighting {
  bool seen = false;
  double firstMs = 0;  // first poll that found it visible
  double lastMs = 0;   // last poll that found it visible
  RECT rect = {};      // outer rectangle when first seen
  LONG style = 0;      // styles when last seen
  LONG exStyle = 0;
  std::wstring className;
  bool pictureTaken = false;
};

struct Run {
  bool started = false;
  bool finished = false;  // ended by itself before the time limit
  DWORD exitCode = STILL_ACTIVE;
  double exitMs = 0;
  std::vector<KeyEvent> keys;
  WindowSighting window;
  double cpuMs = 0;                // kernel + user time, last reading while it lived
  SIZE_T peakWorkingSetBytes = 0;  // largest reading while it lived
};

// The directory this probe runs from, with a trailing backslash; KANTRELL.exe is built beside it.
std::wstring ownDirectory();

// What a run may change about the child: variables added to (or replacing those of) this
// process's environment.
struct RunOptions {
  std::vector<std::wstring> environment;  // NAME=VALUE
  // When set, a picture of the window, taken from the screen half a second after it first
  // shows, is written here as a 24-bit BMP.
  std::wstring pictureFile;
  // When set, the run is ended (terminated) once the window has shown for this long: for runs
  // that only need to get that far.
  double endAfterWindowMs = -1;
};

// Options that only change the child's environment.
inline RunOptions withEnvironment(std::vector<std::wstring> environment) {
  RunOptions options;
  options.environment = std::move(environment);
  return options;
}

// Runs `applicationPath` with `commandLine` exactly as given (it becomes GetCommandLineW of the
// child). Pumps messages while it waits, so that the hook sees the events; a process still
// running after `limitMs` is terminated and reported as not finished.
Run run(const std::wstring& applicationPath, const std::wstring& commandLine, DWORD limitMs,
        const RunOptions& options = {});

// True when this process runs under Wine rather than on Windows.
bool underWine();

}  // namespace probe
