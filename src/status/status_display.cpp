#include "status/status_display.h"

#include <algorithm>

#include "status/status_window.h"

namespace kantrell {

void WindowStatusDisplay::show(const LockRequest& request, const StatusStyle& style,
                               const Text& versionText) {
  StatusWindow window(toolkit_, events_, clock_);
  if (window.open(request, style, versionText)) {
    window.holdOpen();
    window.close();
  }
}

std::array<Text, 3> statusLines(const LockRequest& request) {
  const Text* words[3] = {&request.numWord, &request.scrollWord, &request.capsWord};
  std::size_t widest = 0;
  for (const char16_t* label : kKeyLabels) widest = std::max(widest, Text(label).size());
  std::array<Text, 3> lines;
  for (std::size_t row = 0; row < 3; ++row) {
    const Text label = kKeyLabels[row];
    lines[row] = joined(Text(widest - label.size(), u' '), label);
    if (!words[row]->empty())
      lines[row] = joined(lines[row], joined(u" ", upperCased(*words[row])));
  }
  return lines;
}

}  // namespace kantrell
