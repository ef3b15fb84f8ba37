#include "core/run.h"

#include "core/command_line.h"

namespace kantrell {

int runProgram(const Text& commandLine, Platform& platform) {
  constexpr int exitCode = 0;  // nothing the run meets changes it

  platform.toolkit.start();
  const Text versionText = kVersionText;
  (void)versionText;

  CommandLineReader reader(commandLine);
  const LockRequest request = readLockRequest(reader);

  Delay delay(platform.timer);
  delay.delayMs(request.waitMs);

  syncLockKeys(platform.keyboard, request);

  if (textEquals(request.statusWord, u"s")) {
    // The status window is not part of this build yet: the run goes on to its end.
  }

  platform.toolkit.end();
  return exitCode;
}

}  // namespace kantrell
