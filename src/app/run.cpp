#include "app/run.h"

#include "core/lock_request.h"
#include "status/status_style.h"

namespace kantrell {

int runProgram(WordSource& words, Platform& platform) {
  constexpr int exitCode = 0;  // nothing the run meets changes it
  WindowToolkit& toolkit = platform.toolkit;

  toolkit.start();
  const Text versionText = kVersionText;

  const LockRequest request = readLockRequest(words);

  // Made on every run, before the wait, whether or not the window is shown.
  const StatusStyle style = prepareStatusStyle(platform.fonts);

  Delay delay(platform.timer);
  delay.delayMs(request.waitMs);

  syncLockKeys(platform.keyboard, request);

  if (textEquals(request.statusWord, u"s")) platform.status.show(request, style, versionText);

  toolkit.end();  // deletes both fonts
  return exitCode;
}

}  // namespace kantrell
