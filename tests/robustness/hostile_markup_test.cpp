// Stray brackets, quotes, references and hidden elements by the hundred thousand, on one line
// and over many, in both readings: each must cost linear time (a quadratic step would not
// finish within the test's time limit) and lose only its own text.

#include <gtest/gtest.h>

#include <string>

#include "page_analysis.h"

namespace tagwright {
namespace {

constexpr std::size_t kMany = 200'000;

Settings Reading(bool modern) {
  Settings s = test::KeepAll();
  s.modernMarkup = modern;
  return s;
}

TEST(HostileMarkup, StrayBracketsAndQuotesCostLinearTime) {
  const std::string pages[] = {
      test::Repeat("<a", kMany) + "> lantern",                // tags nested past counting
      test::Repeat("<a title=\"", kMany) + "\"> lantern",     // quotes that never close
      test::Repeat("<a b=\"<\" c='>'>", kMany) + " lantern",  // brackets in values
      test::Repeat("x <> y < > ", kMany) + " lantern",        // empty pairs in text
      "<meta name=\"description\" content=\"" + test::Repeat("< ", kMany) + "\"> lantern",
      test::Repeat("&amp;&#x41;&notin&zz;&#9999999999", kMany) + " lantern",
  };
  for (bool modern : {false, true}) {
    for (const std::string& page : pages) {
      const auto result = test::AnalysePage(page, Reading(modern));
      ASSERT_EQ(result.result.outcome, RunOutcome::Completed);
      EXPECT_EQ(result.Frequency("lantern"), 1) << page.substr(0, 40) << " modern " << modern;
    }
  }
}

TEST(HostileMarkup, HiddenElementsNestedDeepUnwind) {
  for (const char* separator : {"", "\n"}) {
    const std::string page = test::Repeat(std::string("<div hidden><div>") + separator, kMany) +
                             "secret" +
                             test::Repeat(std::string("</div></div>") + separator, kMany) +
                             " lantern " + test::Repeat("<svg><nav hidden>", kMany) + "gone";
    const auto result = test::AnalysePage(page, Reading(true));
    ASSERT_EQ(result.result.outcome, RunOutcome::Completed);
    EXPECT_EQ(result.Frequency("secret"), 0);
    EXPECT_EQ(result.Frequency("lantern"), 1);
    EXPECT_EQ(result.Frequency("gone"), 0);
  }
}

TEST(HostileMarkup, LongRunsOfLettersOfAnyScript) {
  // One word-break pass per run: a run of a million ideographs or Thai letters is cut in
  // linear time, and letters beyond the length limit are never counted.
  for (const char* letter : {"中", "ไ", "ж", "\xcc\x81"}) {
    const std::string page = "<p>" + test::Repeat(letter, kMany) + " lantern";
    const auto result = test::AnalysePage(page, Reading(true));
    ASSERT_EQ(result.result.outcome, RunOutcome::Completed);
    EXPECT_EQ(result.Frequency("lantern"), 1) << letter;
  }
}

}  // namespace
}  // namespace tagwright
