// Any command line of up to 32,767 UTF-16 code units: splitting must not fail, every word must
// come out free of quotes, quoting the words again must give the same words back, and the
// integer conversion must hold its rules on every word.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "core/command_line.h"

using kantrell::CommandLineReader;
using kantrell::parseInteger;
using kantrell::Text;

namespace {

void check(bool condition) {
  if (!condition) std::abort();
}

std::vector<Text> allWords(const Text& line) {
  CommandLineReader reader(line);
  std::vector<Text> words;
  while (true) {
    const std::size_t before = reader.wordsHandedOut();
    Text word = reader.nextWord();
    if (reader.wordsHandedOut() == before) {
      check(word.empty());
      break;
    }
    words.push_back(std::move(word));
  }
  return words;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  Text line(size / 2, u'\0');
  for (std::size_t i = 0; i < line.size(); ++i) {
    line[i] = static_cast<char16_t>(data[2 * i] | (data[2 * i + 1] << 8));
  }

  const std::vector<Text> words = allWords(line);
  Text requoted = u"KANTRELL.exe";
  for (const Text& word : words) {
    check(word.find(u'"') == Text::npos);
    requoted += u" \"" + word + u"\"";

    const std::int64_t value = parseInteger(word);
    check(parseInteger(u" \t " + word) == value);  // leading blanks and tabs are skipped
    if (!word.empty() && word[0] >= u'0' && word[0] <= u'9') {
      const auto negated = static_cast<std::uint64_t>(parseInteger(u"-" + word));
      check(negated == 0 - static_cast<std::uint64_t>(value));
    }
  }
  check(allWords(requoted) == words);

  CommandLineReader reader(line);
  const kantrell::LockRequest request = kantrell::readLockRequest(reader);
  check(reader.wordsHandedOut() == (words.size() < 5 ? words.size() : 5));
  if (words.size() >= 4) {
    check(static_cast<std::uint64_t>(request.waitMs) ==
          static_cast<std::uint64_t>(parseInteger(words[3])) * 1000u);
  }
  return 0;
}
