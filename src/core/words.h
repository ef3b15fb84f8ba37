// The program's words, wherever they come from, and what the run makes of them: the integer
// conversion of the wait and the LockRequest.
#pragma once

#include <cstddef>
#include <cstdint>
#include <utility>
#include <vector>

#include "core/lock_request.h"
#include "core/text.h"

namespace kantrell {

// Hands out the words after the program's own name, one at a time.
class WordSource {
 public:
  virtual ~WordSource() = default;
  // The next word, or an empty text when there is none; a missing word is not counted.
  virtual Text nextWord() = 0;
  // How many words have been handed out so far.
  virtual std::size_t wordsHandedOut() const = 0;
};

// Words already split by someone else, such as the argument list a shell hands a program. They
// are taken as they are: no quote of theirs means anything here.
class ArgumentWords final : public WordSource {
 public:
  explicit ArgumentWords(std::vector<Text> words) : words_(std::move(words)) {}

  Text nextWord() override;
  std::size_t wordsHandedOut() const override { return count_; }

 private:
  std::vector<Text> words_;
  std::size_t count_ = 0;
};

// Integer value of a text: optional leading blanks and tabs, at most one sign, "$" for hex or "%"
// for binary, then digits of that base up to the first non-digit. No digit gives 0; the value
// wraps modulo 2^64 and is read as signed.
std::int64_t parseInteger(const Text& text);

// Reads exactly five words, each converted before the next is taken: three key words and the
// status word lower-cased, the fourth word as seconds turned into milliseconds.
LockRequest readLockRequest(WordSource& words);

}  // namespace kantrell
