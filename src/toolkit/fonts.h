// Fonts as the status style makes them: at the screen density read at start-up.
#pragma once

#include <cstdint>

#include "core/text.h"

namespace kantrell {

// A font the toolkit hands out; 0 is "none".
using FontId = std::uintptr_t;

struct FontSpec {
  int height = 0;  // negative: character height in pixels
  int weight = 400;
  bool italic = false;
  Text face;
};

class FontMaker {
 public:
  virtual ~FontMaker() = default;
  // Vertical pixels per logical inch of the screen as read at start-up; 96 when unreadable.
  virtual int screenDpiY() const = 0;
  // A font kept until the toolkit ends; 0 when it cannot be made.
  virtual FontId createFont(const FontSpec& wanted) = 0;
};

}  // namespace kantrell
