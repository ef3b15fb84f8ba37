// The program's one straight run, from start-up to the exit code.
#pragma once

#include "core/delay.h"
#include "core/lock_keys.h"
#include "core/text.h"
#include "core/version.h"
#include "core/words.h"
#include "status/status_display.h"
#include "toolkit/fonts.h"
#include "toolkit/window_toolkit.h"

namespace kantrell {

// The version shown in the status window's title; the version block says the same.
inline constexpr char16_t kVersionText[] = u"" KANTRELL_VERSION_TEXT;

// Everything the run reaches outside itself.
struct Platform {
  Keyboard& keyboard;
  Timer& timer;
  WindowToolkit& toolkit;
  FontMaker& fonts;
  StatusDisplay& status;
};

// Runs the whole program on the given words and gives the exit code, which is 0 on every path.
// The caller ends the process with it.
int runProgram(WordSource& words, Platform& platform);

}  // namespace kantrell
