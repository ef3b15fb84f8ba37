// What the command line asks for: three key words, a wait and a status word.
#pragma once

#include <cstdint>

#include "core/text.h"

namespace kantrell {

// Filled once from the first five words, read-only afterwards.
struct LockRequest {
  Text numWord;             // lower-cased; empty when missing
  Text scrollWord;          // lower-cased; empty when missing
  Text capsWord;            // lower-cased; empty when missing
  std::int64_t waitMs = 0;  // fourth word's integer value times 1000, wrapping in 64 bits
  Text statusWord;          // lower-cased; the status window is shown exactly when it is "s"
};

}  // namespace kantrell
