#include "core/command_line.h"

#include <utility>

namespace kantrell {

namespace {

constexpr char16_t kBlank = u' ';
constexpr char16_t kQuote = u'"';

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

}  // namespace kantrell
