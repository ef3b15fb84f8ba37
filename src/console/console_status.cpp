#include "console/console_status.h"

#include "core/utf8.h"

namespace kantrell {

void TextStatusDisplay::show(const LockRequest& request, const StatusStyle&, const Text&) {
  for (const Text& line : statusLines(request)) {
    const std::string bytes = utf8From(line) + "\n";
    std::fwrite(bytes.data(), 1, bytes.size(), out_);
  }
  std::fflush(out_);
}

}  // namespace kantrell
