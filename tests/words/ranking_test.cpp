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

}  // namespace
}  // namespace tagwright
