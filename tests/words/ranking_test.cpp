#include "words/ranking.h"

#include <gtest/gtest.h>

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

TEST(ScaleKeyValues, ScalesToPercentOfTheHighest) {
  RankedWords words = Table({{"a", 1, 30}, {"b", 1, 15}, {"c", 1, 3}});
  EXPECT_EQ(ScaleKeyValues(words), 30.0f);
  EXPECT_EQ(words[0].keyValue, 100.0f);
  EXPECT_EQ(words[1].keyValue, 50.0f);
  EXPECT_EQ(words[2].keyValue, 10.0f);

  // Rounded once from double: in single-precision steps 671089 * 100 is not exact and the
  // highest value would come out as 99.9999924.
  words = Table({{"a", 1, 671089}, {"b", 1, 1}});
  EXPECT_EQ(ScaleKeyValues(words), 671089.0f);
  EXPECT_EQ(words[0].keyValue, 100.0f);
  EXPECT_EQ(words[1].keyValue, static_cast<float>(100.0 / 671089.0));

  words = Table({{"only", 4, 12.5f}});
  EXPECT_EQ(ScaleKeyValues(words), 12.5f);
  EXPECT_EQ(words[0].keyValue, 100.0f);

  words.clear();
  EXPECT_EQ(ScaleKeyValues(words), 0.0f);
}

}  // namespace
}  // namespace tagwright
