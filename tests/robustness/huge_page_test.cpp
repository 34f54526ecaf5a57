// Pages far larger than any real one: a 30 MB line, a 30 MB word, half a million words.

#include <gtest/gtest.h>

#include <string>

#include "output/meta_tag.h"
#include "output/word_list.h"
#include "page_analysis.h"

namespace tagwright {
namespace {

constexpr std::size_t k30MB = 30u << 20;

TEST(HugePage, ThirtyMegabyteLineIsCountedInFull) {
  const std::string piece = "<p>garden <b>lantern</b></p> ";
  const std::size_t times = k30MB / piece.size();
  const auto page = test::AnalysePage(test::Repeat(piece, times));
  ASSERT_EQ(page.result.outcome, RunOutcome::Completed);
  EXPECT_EQ(page.Frequency("garden"), static_cast<std::int64_t>(times));
  EXPECT_EQ(page.Frequency("lantern"), static_cast<std::int64_t>(times));
  EXPECT_EQ(page.Weight("garden"),
            3.0f * static_cast<float>(times));  // exact: the sums stay below 2^24
  EXPECT_EQ(page.Weight("lantern"), 6.0f * static_cast<float>(times));
  ASSERT_EQ(page.ranked.size(), 2u);
  EXPECT_EQ(page.ranked[0].word, "lantern");
  EXPECT_EQ(page.ranked[1].keyValue, 50);
  // A window stays responsive: the scan yields within the line, not only after it.
  EXPECT_GE(page.observer.yields, static_cast<std::int64_t>(k30MB >> 16));
}

TEST(HugePage, ThirtyMegabyteWordOrTagLosesNothingAfterIt) {
  // A word longer than any real one is dropped; a tag left open for 30 MB ends at its bracket.
  const std::string word = test::Repeat("ab", k30MB / 2);
  const std::string tag = "<p class=\"" + test::Repeat("x", k30MB) + "\"";
  const auto page = test::AnalysePage(word + "\ncompass compass\n" + tag + "\n>garden garden\n");
  ASSERT_EQ(page.result.outcome, RunOutcome::Completed);
  EXPECT_EQ(page.table.WordCount(), 2);
  EXPECT_EQ(page.Frequency("compass"), 2);
  EXPECT_EQ(page.Frequency("garden"), 2);
}

// The i-th of many distinct words: "zq", i in the letters a to j as digits, and "x", so that
// no filter drops it and no two are plural and singular.
std::string DistinctWord(std::size_t i) {
  std::string digits;
  for (int place = 0; place < 6; ++place, i /= 10)
    digits.insert(digits.begin(), static_cast<char>('a' + i % 10));
  return "zq" + digits + "x";
}

TEST(HugePage, HalfAMillionDistinctWordsAreAllCounted) {
  constexpr std::size_t kWords = 500'000;
  std::string text;
  for (std::size_t i = 0; i < kWords; ++i) text += DistinctWord(i) + (i % 10 == 9 ? "\n" : " ");

  const auto page = test::AnalysePage(text, test::KeepAll());
  ASSERT_EQ(page.result.outcome, RunOutcome::Completed);
  EXPECT_EQ(page.table.WordCount(), static_cast<std::int64_t>(kWords));
  EXPECT_EQ(page.observer.newWords, static_cast<std::int64_t>(kWords));
  EXPECT_EQ(page.observer.lastCount, static_cast<std::int64_t>(kWords));
  ASSERT_EQ(page.ranked.size(), kWords);
  // Equal values keep the order of the page.
  EXPECT_EQ(page.ranked.front().word, DistinctWord(0));
  EXPECT_EQ(page.ranked.back().word, DistinctWord(kWords - 1));
  EXPECT_EQ(page.ranked.back().keyValue, 100);

  const std::string list = ShowWordList(page.ranked, test::KeepAll());
  EXPECT_TRUE(list.ends_with("\r\n500000   100    1 " + DistinctWord(kWords - 1) + "\r\n"));

  const MetaTag tag =
      GenerateMetaTag(page.ranked, MetaTagRequest{"100", "1000", ""}, test::KeepAll());
  EXPECT_TRUE(tag.text.starts_with("<META NAME=\"keywords\" CONTENT=\"" + DistinctWord(0) + "," +
                                   DistinctWord(1) + ","));
  // 31 bytes of opening, then 97 words of 9 letters and 96 commas: the byte limit exactly.
  EXPECT_EQ(tag.keywordCount, 97);
  EXPECT_EQ(tag.tagLength, 1000);

  // Seen once each, none reaches the default minimum frequency.
  const auto twice = test::AnalysePage(text);
  EXPECT_EQ(twice.table.WordCount(), static_cast<std::int64_t>(kWords));
  EXPECT_EQ(ShowWordList(twice.ranked, Settings{}),
            "No words with more than 3 letters occur at least twice.");
}

}  // namespace
}  // namespace tagwright
