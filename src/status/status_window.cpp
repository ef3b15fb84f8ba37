#include "status/status_window.h"

#include <algorithm>

namespace kantrell {

namespace {

constexpr char16_t kBlankLine[] = u"\r\n\r\n";
constexpr std::int64_t kEndMarker = 1;  // no event has this code

}  // namespace

Text statusTitle(const Text& versionText) {
  return joined(u"Statusmeldung: Kantrell V", versionText);
}

Text labelText() {
  Text text = joined(kKeyLabels[0], kBlankLine);
  text = joined(text, kKeyLabels[1]);
  text = joined(text, kBlankLine);
  return joined(text, kKeyLabels[2]);
}

Text valueText(const LockRequest& request) {
  Text text = joined(upperCased(request.numWord), kBlankLine);
  text = joined(text, upperCased(request.scrollWord));
  text = joined(text, kBlankLine);
  return joined(text, upperCased(request.capsWord));
}

Point centredPosition(Size window, Rect screen) {
  return {screen.origin.x + (screen.size.width - std::min(screen.size.width, window.width)) / 2,
          screen.origin.y + (screen.size.height - std::min(screen.size.height, window.height)) / 2};
}

bool StatusWindow::open(const LockRequest& request, const StatusStyle& style,
                        const Text& versionText) {
  window_ = toolkit_.openWindow(
      {statusTitle(versionText), kStatusWindowStyle, kStatusClientSize, kStatusCreatedAt});
  if (window_ == 0) return false;

  const Size outer = toolkit_.windowSize(window_);
  toolkit_.moveWindow(window_, centredPosition(outer, toolkit_.primaryScreen()));
  toolkit_.showWindow(window_);
  toolkit_.makeTopmost(window_);

  addColumn({1, labelText(), kLabelStyle, {10, 10}, {80, 70}}, style.labelTextColour,
            style.labelBackColour, style.labelFont);
  addColumn({2, valueText(request), kValueStyle, {100, 10}, {60, 70}}, style.valueTextColour,
            style.valueBackColour, style.valueFont);
  return true;  // with or without its controls
}

void StatusWindow::addColumn(const StaticSpec& wanted, Colour text, Colour back, FontId font) {
  const ControlId control = toolkit_.addStatic(window_, wanted);
  if (control == 0) return;
  toolkit_.setTextColour(control, text);
  toolkit_.setBackColour(control, back);
  toolkit_.setFont(control, font);
}

void StatusWindow::holdOpen() {
  const std::int64_t startMs = clock_.clockMs();
  std::int64_t lastEvent = 0;
  do {
    lastEvent = events_.nextEvent(kWaitSliceMs);
    const std::int64_t nowMs = clock_.clockMs();
    if (nowMs >= startMs + kDisplayMs) lastEvent = kEndMarker;
  } while (lastEvent != kEndMarker);
}

void StatusWindow::close() {
  if (window_ == 0) return;
  toolkit_.closeWindow(window_);
  window_ = 0;
}

}  // namespace kantrell
