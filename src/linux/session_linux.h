// The facts of the session kantrell runs in, looked at once each; the X connection and the
// console found on the way are kept for the run.
#pragma once

#include <memory>
#include <string>

#include "console/console_device.h"
#include "linux/backend_choice.h"
#include "x11/x11_connection.h"

namespace kantrell {

class LinuxSession final : public SessionFacts {
 public:
  bool waylandSession() override;
  X11Status x11() override;
  std::string displayName() override;
  bool virtualConsole() override;

  // The connection x11() opened; only after x11() said it is usable.
  X11Connection& connection() { return *connection_; }
  ConsoleDevice& console();

 private:
  std::unique_ptr<X11Connection> connection_;
  std::unique_ptr<ConsoleDevice> console_;
};

}  // namespace kantrell
