#include "core/command_line.h"
#include "core/utf8.h"

#include <gtest/gtest.h>

#include <array>
#include <string>

#include "text_print.h"

namespace kantrell {
namespace {

using testing_support::narrow;

struct SplitCase {
  Text commandLine;
  std::array<Text, 5> words;
};

void PrintTo(const SplitCase& row, std::ostream* out) { *out << narrow(row.commandLine); }

class SplitTest : public testing::TestWithParam<SplitCase> {};

TEST_P(SplitTest, HandsOutTheWordsAfterTheProgramName) {
  CommandLineReader reader(GetParam().commandLine);
  for (const Text& expected : GetParam().words) {
    EXPECT_EQ(reader.nextWord(), expected);
  }
  EXPECT_EQ(reader.nextWord(), u"") << "nothing after the fifth word";
}

INSTANTIATE_TEST_SUITE_P(
    Rows, SplitTest,
    testing::Values(
        SplitCase{u"KANTRELL.exe ON OFF OFF 3 s", {u"ON", u"OFF", u"OFF", u"3", u"s"}},
        SplitCase{u"\"C:\\Tools\\KANTRELL.exe\" on on on", {u"on", u"on", u"on", u"", u""}},
        SplitCase{u"KANTRELL.exe   on    off", {u"on", u"off", u"", u"", u""}},
        SplitCase{u"KANTRELL.exe \"on\" \"\" off 2 s", {u"on", u"", u"off", u"2", u"s"}},
        SplitCase{u"KANTRELL.exe \"on off\" x", {u"on off", u"x", u"", u"", u""}},
        SplitCase{u"KANTRELL.exe o\"n\" off", {u"on", u"off", u"", u"", u""}},
        SplitCase{u"KANTRELL.exe \"on\"off x", {u"on", u"off", u"x", u"", u""}},
        SplitCase{u"KANTRELL.exe a\"b c\"d e", {u"ab cd", u"e", u"", u"", u""}},
        SplitCase{u"KANTRELL.exe \"on off", {u"on off", u"", u"", u"", u""}},
        SplitCase{u"KANTRELL.exe \"\"\"\" on", {u"", u"", u"on", u"", u""}},
        SplitCase{u"KANTRELL.exe \"a\\\" on", {u"a\\", u"on", u"", u"", u""}},
        SplitCase{u"\"KANTRELL.exe\"on off", {u"on", u"off", u"", u"", u""}},
        SplitCase{u"KANTRELL.exe on off on \" 7\" s", {u"on", u"off", u"on", u" 7", u"s"}},
        // Beyond the examples: only U+0020 separates, and inner empty quotes vanish.
        SplitCase{u"KANTRELL.exe on\toff x", {u"on\toff", u"x", u"", u"", u""}},
        SplitCase{u"KANTRELL.exe a\"\"b \"on \" ", {u"ab", u"on ", u"", u"", u""}},
        SplitCase{u"", {u"", u"", u"", u"", u""}},
        SplitCase{u"KANTRELL.exe    ", {u"", u"", u"", u"", u""}}));

TEST(CommandLineReaderTest, CountsOnlyTheWordsThatExist) {
  CommandLineReader reader(u"KANTRELL.exe \"\" on");
  EXPECT_EQ(reader.nextWord(), u"");
  EXPECT_EQ(reader.nextWord(), u"on");
  EXPECT_EQ(reader.wordsHandedOut(), 2u) << "an empty quoted word takes its place in the count";
  EXPECT_EQ(reader.nextWord(), u"");
  EXPECT_EQ(reader.wordsHandedOut(), 2u) << "a missing word does not";
}

TEST(CommandLineReaderTest, TakesALineOfTheWindowsMaximumLength) {
  const Text word(32'000, u'x');
  CommandLineReader reader(u"KANTRELL.exe " + word + u" on");
  EXPECT_EQ(reader.nextWord(), word);
  EXPECT_EQ(reader.nextWord(), u"on");
}

struct IntegerCase {
  Text word;
  std::int64_t value;
};

void PrintTo(const IntegerCase& row, std::ostream* out) { *out << '"' << narrow(row.word) << '"'; }

class ParseIntegerTest : public testing::TestWithParam<IntegerCase> {};

TEST_P(ParseIntegerTest, GivesTheValue) {
  EXPECT_EQ(parseInteger(GetParam().word), GetParam().value);
}

constexpr std::int64_t kMin64 = INT64_MIN;

INSTANTIATE_TEST_SUITE_P(
    Rows, ParseIntegerTest,
    testing::Values(IntegerCase{u"", 0}, IntegerCase{u"5", 5}, IntegerCase{u"007", 7},
                    IntegerCase{u"2.5", 2}, IntegerCase{u"5s", 5}, IntegerCase{u"s5", 0},
                    IntegerCase{u" 7", 7}, IntegerCase{u"\t 7", 7}, IntegerCase{u"+5", 5},
                    IntegerCase{u"-5", -5}, IntegerCase{u"--5", 0}, IntegerCase{u"+-5", 0},
                    IntegerCase{u"-", 0}, IntegerCase{u"- 5", 0}, IntegerCase{u"$ff", 255},
                    IntegerCase{u"$FF", 255}, IntegerCase{u"$1g", 1}, IntegerCase{u"$", 0},
                    IntegerCase{u"-$10", -16}, IntegerCase{u"$-10", 0}, IntegerCase{u"%101", 5},
                    IntegerCase{u"%102", 2}, IntegerCase{u"%11", 3}, IntegerCase{u"0x10", 0},
                    IntegerCase{u"1e3", 1}, IntegerCase{u"abc", 0}, IntegerCase{u"\n5", 0},
                    IntegerCase{u"\uFF15", 0},  // a full-width digit is no digit
                    IntegerCase{u"9223372036854775807", INT64_MAX},
                    IntegerCase{u"9223372036854775808", kMin64},
                    IntegerCase{u"18446744073709551615", -1},
                    IntegerCase{u"18446744073709551616", 0}, IntegerCase{u"$FFFFFFFFFFFFFFFF", -1},
                    IntegerCase{u"4294967", 4'294'967}));

TEST(ReadLockRequestTest, TheWaitIsTheValueTimesAThousandWrapping) {
  struct Row {
    Text word;
    std::int64_t waitMs;
  };
  for (const Row& row :
       {Row{u"", 0}, Row{u"5", 5000}, Row{u"\" 7\"", 7000}, Row{u"-5", -5000}, Row{u"$ff", 255'000},
        Row{u"$FF", 255'000}, Row{u"2.5", 2000}, Row{u"9223372036854775807", -1000},
        Row{u"9223372036854775808", 0}, Row{u"18446744073709551615", -1000},
        Row{u"$FFFFFFFFFFFFFFFF", -1000}, Row{u"-$10", -16000}, Row{u"4294967", 4'294'967'000}}) {
    CommandLineReader reader(u"K a b c " + row.word);
    EXPECT_EQ(readLockRequest(reader).waitMs, row.waitMs) << narrow(row.word);
  }
}

TEST(ReadLockRequestTest, LowerCasesEveryWordButTheWait) {
  CommandLineReader reader(u"KANTRELL.exe ON Off oN 0 S");
  const LockRequest request = readLockRequest(reader);
  EXPECT_EQ(request.numWord, u"on");
  EXPECT_EQ(request.scrollWord, u"off");
  EXPECT_EQ(request.capsWord, u"on");
  EXPECT_EQ(request.waitMs, 0);
  EXPECT_EQ(request.statusWord, u"s");
}

TEST(ReadLockRequestTest, ReadsExactlyFiveWords) {
  CommandLineReader reader(u"KANTRELL.exe on off on 3 s more words");
  const LockRequest request = readLockRequest(reader);
  EXPECT_EQ(request.waitMs, 3000);
  EXPECT_EQ(request.statusWord, u"s");
  EXPECT_EQ(reader.wordsHandedOut(), 5u);
}

TEST(ReadLockRequestTest, MissingWordsAreEmpty) {
  CommandLineReader reader(u"KANTRELL.exe");
  const LockRequest request = readLockRequest(reader);
  EXPECT_EQ(request.numWord, u"");
  EXPECT_EQ(request.scrollWord, u"");
  EXPECT_EQ(request.capsWord, u"");
  EXPECT_EQ(request.waitMs, 0);
  EXPECT_EQ(request.statusWord, u"");
}

TEST(ArgumentWordsTest, TakesEachArgumentAsItIsWithTheSameRules) {
  ArgumentWords words({u"\"on\"", u"O n", u"", u"$ff", u"S", u"more"});
  const LockRequest request = readLockRequest(words);
  EXPECT_EQ(request.numWord, u"\"on\"") << "quotes a shell passed on are part of the word";
  EXPECT_EQ(request.scrollWord, u"o n");
  EXPECT_EQ(request.capsWord, u"");
  EXPECT_EQ(request.waitMs, 255'000);
  EXPECT_EQ(request.statusWord, u"s");
  EXPECT_EQ(words.wordsHandedOut(), 5u) << "words after the fifth are never read";
}

TEST(ArgumentWordsTest, MissingWordsAreEmptyAndNotCounted) {
  ArgumentWords words({u"ON"});
  const LockRequest request = readLockRequest(words);
  EXPECT_EQ(request.numWord, u"on");
  EXPECT_EQ(request.scrollWord, u"");
  EXPECT_EQ(request.waitMs, 0);
  EXPECT_EQ(request.statusWord, u"");
  EXPECT_EQ(words.wordsHandedOut(), 1u);
}

TEST(TextTest, EqualsIsExactAndJoinConcatenates) {
  EXPECT_TRUE(textEquals(u"", u""));
  EXPECT_TRUE(textEquals(u"on", u"on"));
  EXPECT_FALSE(textEquals(u"on", u"On"));
  EXPECT_FALSE(textEquals(u"on", u"on "));
  EXPECT_FALSE(textEquals(u"o", u"on"));
  EXPECT_FALSE(textEquals(u"", u"s"));
  EXPECT_FALSE(textEquals(Text(u"s\0", 2), u"s"));
  EXPECT_EQ(joined(u"Statusmeldung: Kantrell V", u"1.1"), u"Statusmeldung: Kantrell V1.1");
  EXPECT_EQ(joined(u"", u""), u"");
}

TEST(TextTest, Utf8BothWays) {
  struct Row {
    std::string bytes;
    Text text;
  };
  for (const Row& row : {
           Row{"on", u"on"},
           Row{"\xC3\xA4n \xE2\x82\xAC", u"\u00e4n \u20ac"},
           Row{"\xF0\x9F\x94\x92", u"\U0001F512"},  // beyond the first plane: a surrogate pair
           Row{"", u""},
       }) {
    EXPECT_EQ(textFromUtf8(row.bytes), row.text) << row.bytes;
    EXPECT_EQ(utf8From(row.text), row.bytes) << row.bytes;
  }
  // What is not UTF-8 becomes U+FFFD, one per byte that starts nothing valid.
  EXPECT_EQ(textFromUtf8("o\xFFn"), u"o\uFFFDn");
  EXPECT_EQ(textFromUtf8("\xC0\xAF"), u"\uFFFD\uFFFD") << "overlong";
  EXPECT_EQ(textFromUtf8("\xED\xA0\x80"), u"\uFFFD\uFFFD\uFFFD") << "encoded surrogate";
  EXPECT_EQ(textFromUtf8("\xE2\x82"), u"\uFFFD\uFFFD") << "cut short";
  EXPECT_EQ(utf8From(Text(1, char16_t{0xD800})), "\xEF\xBF\xBD") << "lone surrogate";
}

TEST(TextTest, HostCaseMappingMapsTheAsciiLettersOnly) {
  EXPECT_EQ(lowerCased(u"ON Off xYz@[`{"), u"on off xyz@[`{");
  EXPECT_EQ(upperCased(u"on Off xYz@[`{"), u"ON OFF XYZ@[`{");
  EXPECT_EQ(upperCased(u"a&b\u00e4"), u"A&B\u00e4");
  EXPECT_EQ(lowerCased(u""), u"");
}

}  // namespace
}  // namespace kantrell
