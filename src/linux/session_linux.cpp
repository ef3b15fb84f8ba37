#include "linux/session_linux.h"

#include <cstdlib>
#include <string_view>

namespace kantrell {

namespace {

std::string_view variable(const char* name) {
  const char* value = std::getenv(name);
  return value == nullptr ? std::string_view() : std::string_view(value);
}

}  // namespace

bool LinuxSession::waylandSession() {
  return !variable("WAYLAND_DISPLAY").empty() || variable("XDG_SESSION_TYPE") == "wayland";
}

X11Status LinuxSession::x11() {
  if (!connection_) connection_ = std::make_unique<X11Connection>();
  switch (connection_->outcome()) {
    case X11Connection::Outcome::NoDisplayName:
      return X11Status::NoDisplay;
    case X11Connection::Outcome::Unreachable:
      return X11Status::Unreachable;
    case X11Connection::Outcome::NoXkb:
      return X11Status::NoXkb;
    case X11Connection::Outcome::Open:
      break;
  }
  return X11Status::Usable;
}

std::string LinuxSession::displayName() { return std::string(variable("DISPLAY")); }

bool LinuxSession::virtualConsole() { return console().usable(); }

ConsoleDevice& LinuxSession::console() {
  if (!console_) console_ = std::make_unique<ConsoleDevice>();
  return *console_;
}

}  // namespace kantrell
