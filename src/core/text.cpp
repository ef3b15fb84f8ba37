#include "core/text.h"

namespace kantrell {

bool textEquals(const Text& left, const Text& right) { return left == right; }

Text joined(const Text& left, const Text& right) {
  Text result;
  result.reserve(left.size() + right.size());
  result += left;
  result += right;
  return result;
}

}  // namespace kantrell
