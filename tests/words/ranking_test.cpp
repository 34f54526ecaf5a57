#include "words/ranking.h"

#include <gtest/gtest.h>

#include "words/word_table.h"

namespace tagwright {
namespace {

RankedWords Table(std::initializer_list<RankedWord> entries) { return RankedWords(entries); }

TEST(ApplyThresholdFrequency, RemovesRareWordsKeepingOrder) {
  const RankedWords scanned = Table({{"alpha", 1, 9},
                                     {"beta", 3, 8},
                                     {"gamma", 2, 8},
                                     {"delta", 1, 5},
                                     {"epsilon", 2, 2},
                                     {"zeta", 1, 1}});
  RankedWords words = scanned;
  ApplyThresholdFrequency(words, 2);
  ASSERT_EQ(words.size(), 3u);
  EXPECT_EQ(words[0].word, "beta");
  EXPECT_EQ(words[1].word, "gamma");
  EXPECT_EQ(words[2].word, "epsilon");
  EXPECT_EQ(words[2].keyValue, 2.0f);

  words = scanned;
  ApplyThresholdFrequency(words, 1);
  ASSERT_EQ(words.size(), scanned.size());
  EXPECT_EQ(words[0].word, "alpha");
  EXPECT_EQ(words[5].word, "zeta");

  words = scanned;
  ApplyThresholdFrequency(words, 9);
  EXPECT_TRUE(words.empty());
}

TEST(RankedInPercent, ScalesToPercentOfTheHighestOfTheWordsKept) {
  WordTable table;
  table.CountWord("alpha", 30);
  table.CountWord("beta", 15);
  table.CountWord("gamma", 3);
  table.CountWord("rare", 90);
  table.CountWord("alpha", 0);
  table.CountWord("beta", 0);
  table.CountWord("gamma", 0);
  // "rare" is counted once: below the frequency asked for, it sets no scale.
  RankedWords words = table.Ranked(2, true);
  ASSERT_EQ(words.size(), 3u);
  EXPECT_EQ(words[0].keyValue, 100.0f);
  EXPECT_EQ(words[1].keyValue, 50.0f);
  EXPECT_EQ(words[2].keyValue, 10.0f);
  EXPECT_EQ(table.Ranked(1, false)[0].keyValue, 90.0f);

  // Rounded once from double: in single-precision steps 671089 * 100 is not exact and the
  // highest value would come out as 99.9999924.
  WordTable large;
  large.CountWord("alpha", 671089);
  large.CountWord("beta", 1);
  words = large.Ranked(1, true);
  EXPECT_EQ(words[0].keyValue, 100.0f);
  EXPECT_EQ(words[1].keyValue, static_cast<float>(100.0 / 671089.0));

  EXPECT_TRUE(WordTable().Ranked(1, true).empty());
}

}  // namespace
}  // namespace tagwright
