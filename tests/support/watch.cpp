// The demo's witness: runs KANTRELL.exe (built beside it) with the given words and tells, from
// outside, what it did: the lock keys it pressed and when, whether its status window showed, where
// and for how long, and how it ended. With a picture path, it also saves the window's picture.
//   kantrell_watch.exe [--picture FILE.bmp] WORDS...
#include <windows.h>

#include <cstdio>
#include <string>

#include "probe.h"

namespace {

const char* keyName(DWORD virtualKey) {
  switch (virtualKey) {
    case 0x90:
      return "Num Lock";
    case 0x91:
      return "Scroll Lock";
    case 0x14:
      return "Caps Lock";
    default:
      return "another key";
  }
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  probe::RunOptions options;
  int first = 1;
  if (argc > 2 && std::wstring(argv[1]) == L"--picture") {
    options.pictureFile = argv[2];
    first = 3;
  }
  std::wstring line = L"KANTRELL.exe";
  for (int i = first; i < argc; ++i) {
    const std::wstring word = argv[i];
    const bool quote = word.empty() || word.find(L' ') != std::wstring::npos;
    line += quote ? L" \"" + word + L"\"" : L" " + word;
  }

  std::printf("%ls\n", line.c_str());
  const probe::Run run =
      probe::run(probe::ownDirectory() + L"KANTRELL.exe", line, 20'000'000, options);
  if (!run.started) {
    std::printf("  could not start KANTRELL.exe\n");
    return 1;
  }
  if (run.keys.empty()) std::printf("  no lock key pressed\n");
  for (const probe::KeyEvent& key : run.keys) {
    std::printf("  %-11s %-7s at %7.1f ms%s\n", keyName(key.virtualKey),
                (key.flags & 0x80) != 0 ? "up" : "down", key.atMs,
                (key.flags & 0x10) != 0 ? "" : " (not injected)");
  }
  if (run.window.seen) {
    const RECT& r = run.window.rect;
    std::printf(
        "  status window %ldx%ld at (%ld,%ld) on a %dx%d screen%s, shown from %.0f ms for "
        "%.0f ms\n",
        r.right - r.left, r.bottom - r.top, r.left, r.top, GetSystemMetrics(SM_CXSCREEN),
        GetSystemMetrics(SM_CYSCREEN), (run.window.exStyle & WS_EX_TOPMOST) != 0 ? ", topmost" : "",
        run.window.firstMs, run.window.lastMs - run.window.firstMs);
  } else {
    std::printf("  no status window\n");
  }
  if (run.finished) {
    std::printf("  exited with code %lu after %.0f ms\n", run.exitCode, run.exitMs);
  }
  return run.window.pictureTaken ? 0 : (options.pictureFile.empty() ? 0 : 2);
}
