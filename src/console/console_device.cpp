#include "console/console_device.h"

#include <fcntl.h>
#include <linux/kd.h>
#include <sys/ioctl.h>
#include <unistd.h>

namespace kantrell {

static_assert(kLedScrollLock == LED_SCR && kLedNumLock == LED_NUM && kLedCapsLock == LED_CAP);

ConsoleDevice::ConsoleDevice() {
  // The controlling terminal, whichever descriptors the program was given.
  fd_ = open("/dev/tty", O_RDONLY | O_NOCTTY | O_CLOEXEC);
  if (fd_ < 0) return;
  // Only a virtual console has a keyboard type; any other terminal refuses the request.
  char type = 0;
  usable_ = ioctl(fd_, KDGKBTYPE, &type) == 0 && (type == KB_101 || type == KB_84);
}

ConsoleDevice::~ConsoleDevice() {
  if (fd_ >= 0) close(fd_);
}

bool ConsoleDevice::read(std::uint8_t& flags) {
  char value = 0;
  if (!usable_ || ioctl(fd_, KDGKBLED, &value) != 0) return false;
  flags = static_cast<std::uint8_t>(value);
  return true;
}

bool ConsoleDevice::write(std::uint8_t flags) {
  // The argument is the flag byte itself, not a pointer to it.
  return usable_ && ioctl(fd_, KDSKBLED, static_cast<unsigned long>(flags)) == 0;
}

}  // namespace kantrell
