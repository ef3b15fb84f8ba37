// One fake of everything the run reaches, writing every call into one log so that tests can see
// the order of the whole run.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "core/run.h"

namespace kantrell::testing_support {

class RecordingPlatform final : public Keyboard, public Timer, public WindowToolkit {
 public:
  std::vector<std::string> log;
  std::map<std::uint8_t, std::uint16_t> keyStates;

  Platform platform() { return Platform{*this, *this, *this}; }

  std::uint16_t keyState(std::uint8_t virtualKey) override {
    log.push_back("keyState " + std::to_string(virtualKey));
    return keyStates[virtualKey];
  }
  void sendKeyEvent(std::uint8_t virtualKey, std::uint8_t scanCode, std::uint32_t flags) override {
    log.push_back("keybd_event " + std::to_string(virtualKey) + " " + std::to_string(scanCode) +
                  " " + std::to_string(flags));
  }
  void raiseResolutionToOneMs() override { log.push_back("timeBeginPeriod 1"); }
  void sleepMs(std::uint32_t count) override { log.push_back("Sleep " + std::to_string(count)); }
  void start() override { log.push_back("start"); }
  void end() override { log.push_back("end"); }
};

}  // namespace kantrell::testing_support
