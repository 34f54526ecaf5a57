#include "util/str_proc.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <string>

namespace tagwright {
namespace {

TEST(StrProc, SearchesReportFailureAsTheLength) {
  EXPECT_EQ(NextNonBlank("<   meta", 0), 4u);
  EXPECT_EQ(NextNonBlank("<   ", 0), 4u);
  EXPECT_EQ(NextNonBlank("ab", 7), 2u);
  EXPECT_EQ(NextNonBlank("ab", 0), 1u);  // the start itself is never examined
}

TEST(StrProc, LettersAreAToZOnly) {
  EXPECT_TRUE(IsLetter('q'));
  EXPECT_TRUE(IsLetter('Q'));
  for (char c : std::string("7-'_\t\x0b\xe9")) EXPECT_FALSE(IsLetter(c)) << int(c);
  EXPECT_EQ(LetterRunLength("web-site", 0), 3u);
  EXPECT_EQ(LetterRunLength("web-site", 3), 0u);
  EXPECT_EQ(LetterRunLength("web-site", 4), 4u);
  EXPECT_EQ(LetterRunLength("web", 9), 0u);
}

TEST(StrProc, CountingCharactersAndTrimming) {
  EXPECT_EQ(CountChar("a,b,,c", ','), 3);
  EXPECT_EQ(TrimBlanks("  a b  "), "a b");
  EXPECT_EQ(TrimBlanks("   "), "");
  EXPECT_EQ(TrimBlanks("\ta "), "\ta");
}

TEST(StrProc, NumericFilterKeepsWhatAWholeNumberMayHold) {
  auto filtered = [](std::string text, bool allowNegative = false) {
    FilterNumericText(text, allowNegative);
    return text;
  };
  EXPECT_EQ(filtered("1.5"), "15");
  EXPECT_EQ(filtered("7x"), "7");
  EXPECT_EQ(filtered("-20"), "20");
  EXPECT_EQ(filtered("+20"), "+20");
  EXPECT_EQ(filtered("2+3"), "23");
  EXPECT_EQ(filtered("++1"), "+1");
  EXPECT_EQ(filtered(" 1 000 "), "1000");
  EXPECT_EQ(filtered("-5", true), "-5");
  EXPECT_EQ(filtered("--5-", true), "-5");
  EXPECT_EQ(filtered("+-5", true), "+-5");
}

TEST(StrProc, LeadingNumberAndRounding) {
  EXPECT_EQ(LeadingNumber("+20"), 20);
  EXPECT_EQ(LeadingNumber("  75 keywords"), 75);
  EXPECT_EQ(LeadingNumber("2.5>"), 2.5);
  EXPECT_EQ(LeadingNumber("-3"), -3);
  EXPECT_EQ(LeadingNumber("abc"), 0);
  EXPECT_EQ(LeadingNumber(""), 0);
  // Without blanks or a sign of its own: what follows a font size's sign.
  EXPECT_EQ(UnsignedNumber("4.6>"), 4.6);
  EXPECT_EQ(UnsignedNumber(" 4"), 0);
  EXPECT_EQ(UnsignedNumber("-4"), 0);
  EXPECT_EQ(RoundHalfEven(12.5), 12);
  EXPECT_EQ(RoundHalfEven(13.5), 14);
  EXPECT_EQ(RoundHalfEven(-2.5), -2);
  EXPECT_EQ(RoundHalfEven(0.49999999999999994), 0);
  // As the library rounds, halves to even, across the range and beside 2^52.
  for (int k = -4000; k <= 4000; ++k) {
    for (const double base : {0.0, 4503599627370496.0, -4503599627370496.0}) {
      const double value = base + k / 8.0;
      EXPECT_EQ(RoundHalfEven(value), static_cast<std::int64_t>(std::nearbyint(value))) << value;
    }
  }
  EXPECT_EQ(RoundHalfEven(1e300), INT64_MAX);
  EXPECT_EQ(RoundHalfEven(-1e300), INT64_MIN);
}

TEST(StrProc, LowerCaseChangesOnlyCapitalsAtEveryOffset) {
  // Every byte value, at every position of the sixteen-byte steps and in the tail after them.
  std::string all;
  for (int c = 0; c < 256; ++c) all.push_back(static_cast<char>(c));
  for (std::size_t start = 0; start < 17; ++start) {
    std::string text = all.substr(start) + all.substr(0, start) + "XyZ";
    std::string expected = text;
    for (char& c : expected) {
      if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    }
    LowerCaseAscii(text);
    EXPECT_EQ(text, expected) << "rotated by " << start;
  }
}

TEST(StrProc, FindEitherAtEveryOffsetOfTheSixteenByteSteps) {
  // The first of two characters wherever it stands (in a step, at its edges, in the tail),
  // from every start up to past the end; the length when neither follows.
  for (std::size_t size = 0; size <= 40; ++size) {
    for (std::size_t at = 0; at <= size; ++at) {
      std::string text(size, 'x');
      if (at < size) text[at] = at % 2 == 0 ? '<' : '&';
      for (std::size_t from = 0; from <= size + 2; ++from) {
        const std::size_t expected = from <= at && at < size ? at : size;
        EXPECT_EQ(FindEither(text, from, '<', '&'), expected) << size << " " << at << " " << from;
      }
    }
  }
  EXPECT_EQ(FindByte("a<b<c", 2, '<'), 3u);
  EXPECT_EQ(FindByte("a<b", 0, '&'), 3u);
}

TEST(StrProc, LowerCaseTellsWhetherABytePastAsciiStands) {
  for (std::size_t size = 1; size <= 40; ++size) {
    std::string ascii(size, 'A');
    EXPECT_FALSE(LowerCaseAscii(ascii)) << size;
    EXPECT_EQ(ascii, std::string(size, 'a'));  // a tail shorter than a step as well
    for (std::size_t at = 0; at < size; ++at) {
      std::string text(size, 'A');
      text[at] = '\x80';
      EXPECT_TRUE(LowerCaseAscii(text)) << size << " " << at;
      EXPECT_EQ(text[at], '\x80');
    }
  }
}

TEST(StrProc, LetterRunsEndAtTheFirstOtherByteAtEveryOffset) {
  // Runs of every length up to 40 at every start, ended by each kind of neighbour of the
  // letters: @ [ ` { (either side of A to Z and a to z), a digit, a high byte, or the end.
  const std::string letters = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ";
  for (const std::string end : {"@", "[", "`", "{", "7", "\xe1", ""}) {
    for (std::size_t length = 0; length <= 40; ++length) {
      for (std::size_t start = 0; start < 17; ++start) {
        std::string text(start, '-');
        for (std::size_t i = 0; i < length; ++i) text += letters[(i * 7 + start) % letters.size()];
        text += end + "tail";
        if (end.empty()) text.resize(start + length);
        EXPECT_EQ(LetterRunLength(text, start), length) << start << " " << length << " " << end;
      }
    }
  }
}

}  // namespace
}  // namespace tagwright
