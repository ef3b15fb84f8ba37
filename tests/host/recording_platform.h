// One fake of everything the run reaches, writing every call into one log so that tests can see
// the order of the whole run. Its clock advances by a whole slice on every event wait, as an idle
// status window would see it.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "app/run.h"
#include "text_print.h"

namespace kantrell::testing_support {

class RecordingPlatform final : public Keyboard,
                                public Timer,
                                public WindowToolkit,
                                public FontMaker,
                                public EventWait,
                                public Clock {
 public:
  std::vector<std::string> log;
  std::map<std::uint8_t, std::uint16_t> keyStates;
  int dpiY = 96;
  bool fontsFail = false;
  bool windowFails = false;
  bool controlsFail = false;
  Size outerSize{176, 109};
  Rect screen{{0, 0}, {800, 600}};
  std::int64_t nowMs = 0;

  Platform platform() { return Platform{*this, *this, *this, *this, status_}; }

  // Keyboard
  std::uint16_t keyState(std::uint8_t virtualKey) override {
    log.push_back("keyState " + std::to_string(virtualKey));
    return keyStates[virtualKey];
  }
  void sendKeyEvent(std::uint8_t virtualKey, std::uint8_t scanCode, std::uint32_t flags) override {
    log.push_back("keybd_event " + std::to_string(virtualKey) + " " + std::to_string(scanCode) +
                  " " + std::to_string(flags));
  }

  // Timer
  void raiseResolutionToOneMs() override { log.push_back("timeBeginPeriod 1"); }
  void sleepMs(std::uint32_t count) override { log.push_back("Sleep " + std::to_string(count)); }

  // WindowToolkit and FontMaker
  void start() override { log.push_back("start"); }
  int screenDpiY() const override { return dpiY; }
  FontId createFont(const FontSpec& wanted) override {
    log.push_back("createFont " + std::to_string(wanted.height) + " " +
                  std::to_string(wanted.weight) + (wanted.italic ? " italic " : " upright ") +
                  narrow(wanted.face));
    return fontsFail ? 0 : ++lastFont_;
  }
  WindowId openWindow(const WindowSpec& wanted) override {
    log.push_back("openWindow \"" + narrow(wanted.title) + "\" style " +
                  std::to_string(wanted.style) + " client " + sizeText(wanted.clientSize) + " at " +
                  pointText(wanted.position));
    return windowFails ? 0 : 7;
  }
  Size windowSize(WindowId window) override {
    log.push_back("windowSize " + std::to_string(window));
    return outerSize;
  }
  Rect primaryScreen() override {
    log.push_back("primaryScreen");
    return screen;
  }
  void moveWindow(WindowId window, Point position) override {
    log.push_back("moveWindow " + std::to_string(window) + " " + pointText(position));
  }
  void showWindow(WindowId window) override {
    log.push_back("showWindow " + std::to_string(window));
  }
  void makeTopmost(WindowId window) override {
    log.push_back("makeTopmost " + std::to_string(window));
  }
  ControlId addStatic(WindowId parent, const StaticSpec& wanted) override {
    log.push_back("addStatic " + std::to_string(parent) + " id " +
                  std::to_string(wanted.identifier) + " \"" + narrow(wanted.text) + "\" style " +
                  std::to_string(wanted.style) + " at " + pointText(wanted.position) + " size " +
                  sizeText(wanted.size));
    return controlsFail ? 0 : 100 + static_cast<ControlId>(wanted.identifier);
  }
  void setTextColour(ControlId control, Colour colour) override {
    log.push_back("setTextColour " + std::to_string(control) + " " + std::to_string(colour));
  }
  void setBackColour(ControlId control, Colour colour) override {
    log.push_back("setBackColour " + std::to_string(control) + " " + std::to_string(colour));
  }
  void setFont(ControlId control, FontId font) override {
    log.push_back("setFont " + std::to_string(control) + " " + std::to_string(font));
  }
  void closeWindow(WindowId window) override {
    log.push_back("closeWindow " + std::to_string(window));
  }
  void end() override { log.push_back("end"); }

  // EventWait and Clock
  std::int64_t nextEvent(std::int32_t timeoutMs) override {
    log.push_back("nextEvent " + std::to_string(timeoutMs));
    nowMs += timeoutMs;
    return 0;
  }
  std::int64_t clockMs() override {
    log.push_back("clockMs " + std::to_string(nowMs));
    return nowMs;
  }

 private:
  static std::string pointText(Point point) {
    return "(" + std::to_string(point.x) + "," + std::to_string(point.y) + ")";
  }
  static std::string sizeText(Size size) {
    return std::to_string(size.width) + "x" + std::to_string(size.height);
  }

  FontId lastFont_ = 0;
  WindowStatusDisplay status_{*this, *this, *this};
};

}  // namespace kantrell::testing_support
