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

}  // namespace
}  // namespace tagwright
