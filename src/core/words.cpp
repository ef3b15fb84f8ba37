#include "core/words.h"

namespace kantrell {

namespace {

// The digit's value in `base`, or -1 when the code unit is not an ASCII digit of that base.
int digitValue(char16_t unit, unsigned base) {
  int value = -1;
  if (unit >= u'0' && unit <= u'9') {
    value = unit - u'0';
  } else if (unit >= u'a' && unit <= u'f') {
    value = unit - u'a' + 10;
  } else if (unit >= u'A' && unit <= u'F') {
    value = unit - u'A' + 10;
  }
  return value >= 0 && static_cast<unsigned>(value) < base ? value : -1;
}

}  // namespace

Text ArgumentWords::nextWord() {
  if (count_ == words_.size()) return Text();
  return words_[count_++];
}

std::int64_t parseInteger(const Text& text) {
  const std::size_t end = text.size();
  std::size_t i = 0;
  while (i < end && (text[i] == u' ' || text[i] == u'\t')) ++i;

  bool negative = false;
  if (i < end && (text[i] == u'-' || text[i] == u'+')) {
    negative = text[i] == u'-';
    ++i;
  }

  unsigned base = 10;
  if (i < end && text[i] == u'$') {
    base = 16;
    ++i;
  } else if (i < end && text[i] == u'%') {
    base = 2;
    ++i;
  }

  std::uint64_t value = 0;  // unsigned: wrapping is the defined behaviour here
  for (; i < end; ++i) {
    const int digit = digitValue(text[i], base);
    if (digit < 0) break;
    value = value * base + static_cast<std::uint64_t>(digit);
  }
  if (negative) value = 0 - value;
  return static_cast<std::int64_t>(value);
}

LockRequest readLockRequest(WordSource& words) {
  LockRequest request;
  request.numWord = lowerCased(words.nextWord());
  request.scrollWord = lowerCased(words.nextWord());
  request.capsWord = lowerCased(words.nextWord());
  const auto seconds = static_cast<std::uint64_t>(parseInteger(words.nextWord()));
  request.waitMs = static_cast<std::int64_t>(seconds * 1000u);
  request.statusWord = lowerCased(words.nextWord());
  return request;
}

}  // namespace kantrell
