// The Windows way of getting words: one raw command line, split here by the program's own rules.
#pragma once

#include <cstddef>

#include "core/text.h"
#include "core/words.h"

namespace kantrell {

// Hands out the words of a raw command line (the whole line, program name included, exactly as
// the process received it) one at a time. Blanks (U+0020 only) separate words; double quotes
// group blanks into a word and are removed; the backslash is an ordinary character.
class CommandLineReader final : public WordSource {
 public:
  explicit CommandLineReader(Text commandLine);

  // The next word after the program's own name, or an empty text when there is none. A missing
  // word leaves the count unchanged.
  Text nextWord() override;
  std::size_t wordsHandedOut() const override { return count_; }

 private:
  bool scanWord(Text& word);

  Text line_;
  std::size_t position_ = 0;
  std::size_t count_ = 0;
};

}  // namespace kantrell
