// The command line: splitting the raw line into words, the integer conversion of the wait, and
// the LockRequest the rest of the run works from.
#pragma once

#include <cstddef>
#include <cstdint>

#include "core/text.h"

namespace kantrell {

// What the command line asks for. Filled once, read-only afterwards.
struct LockRequest {
  Text numWord;             // lower-cased; empty when missing
  Text scrollWord;          // lower-cased; empty when missing
  Text capsWord;            // lower-cased; empty when missing
  std::int64_t waitMs = 0;  // fourth word's integer value times 1000, wrapping in 64 bits
  Text statusWord;          // lower-cased; the status window is shown exactly when it is "s"
};

// Hands out the words of a raw command line (the whole line, program name included, exactly as
// the process received it) one at a time. Blanks (U+0020 only) separate words; double quotes
// group blanks into a word and are removed; the backslash is an ordinary character.
class CommandLineReader {
 public:
  explicit CommandLineReader(Text commandLine);

  // The next word after the program's own name, or an empty text when there is none. A missing
  // word leaves the count unchanged.
  Text nextWord();

  std::size_t wordsHandedOut() const { return count_; }

 private:
  bool scanWord(Text& word);

  Text line_;
  std::size_t position_ = 0;
  std::size_t count_ = 0;
};

// Integer value of a text: optional leading blanks and tabs, at most one sign, "$" for hex or "%"
// for binary, then digits of that base up to the first non-digit. No digit gives 0; the value
// wraps modulo 2^64 and is read as signed.
std::int64_t parseInteger(const Text& text);

// Reads exactly five words, each converted before the next is taken: three key words and the
// status word lower-cased, the fourth word as seconds turned into milliseconds.
LockRequest readLockRequest(CommandLineReader& reader);

}  // namespace kantrell
