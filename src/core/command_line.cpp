#include "core/command_line.h"

#include <utility>

namespace kantrell {

namespace {

constexpr char16_t kBlank = u' ';
constexpr char16_t kQuote = u'"';

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

CommandLineReader::CommandLineReader(Text commandLine) : line_(std::move(commandLine)) {
  Text programName;
  scanWord(programName);  // the program's own name is never handed out
}

Text CommandLineReader::nextWord() {
  Text word;
  if (scanWord(word)) ++count_;
  return word;
}

bool CommandLineReader::scanWord(Text& word) {
  const std::size_t end = line_.size();
  while (position_ < end && line_[position_] == kBlank) ++position_;
  if (position_ == end) return false;

  if (line_[position_] == kQuote) {
    // A word that opens with a quote ends at its closing quote, blank or not.
    const std::size_t close = line_.find(kQuote, position_ + 1);
    const std::size_t stop = close == Text::npos ? end : close;
    word.assign(line_, position_ + 1, stop - position_ - 1);
    position_ = close == Text::npos ? end : close + 1;
    return true;
  }

  // Any other word runs to the next blank outside a quoted section; its quotes are dropped.
  bool quoted = false;
  for (; position_ < end; ++position_) {
    const char16_t unit = line_[position_];
    if (unit == kQuote) {
      quoted = !quoted;
    } else if (unit == kBlank && !quoted) {
      break;
    } else {
      word.push_back(unit);
    }
  }
  return true;
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

LockRequest readLockRequest(CommandLineReader& reader) {
  LockRequest request;
  request.numWord = lowerCased(reader.nextWord());
  request.scrollWord = lowerCased(reader.nextWord());
  request.capsWord = lowerCased(reader.nextWord());
  const auto seconds = static_cast<std::uint64_t>(parseInteger(reader.nextWord()));
  request.waitMs = static_cast<std::int64_t>(seconds * 1000u);
  request.statusWord = lowerCased(reader.nextWord());
  return request;
}

}  // namespace kantrell
