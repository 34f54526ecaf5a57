#include "words/common_words.h"

#include <gtest/gtest.h>

namespace tagwright {
namespace {

TEST(CommonWords, FindsWordsOfEachEnglishList) {
  EXPECT_TRUE(IsConjunction("although", kEnglish));
  EXPECT_TRUE(IsGeneralWord("which", kEnglish));
  EXPECT_TRUE(IsPreposition("upon", kEnglish));
  EXPECT_TRUE(IsNumberWord("thousand", kEnglish));
  // First and last word of every row, where an off-by-one search goes wrong.
  for (const char* word : {"after", "yet", "a", "yours", "aboard", "without", "billion", "two",
                           "the", "would", "into", "twice", "nineth", "every", "than"}) {
    EXPECT_TRUE(IsCommonWord(word, kEnglish)) << word;
  }
  EXPECT_FALSE(IsPreposition("which", kEnglish));
  EXPECT_FALSE(IsConjunction("upon", kEnglish));
}

TEST(CommonWords, LeavesOtherWordsOut) {
  for (const char* word :
       {"ninth", "zebra", "aa", "", "keyword", "The", "yourselves", "aaa", "zzz", "thes"}) {
    EXPECT_FALSE(IsCommonWord(word, kEnglish)) << word;
  }
}

TEST(CommonWords, GermanRowHoldsOnlyConjunctions) {
  EXPECT_FALSE(IsCommonWord("und", kEnglish));
  EXPECT_FALSE(IsCommonWord("oder", kEnglish));
  EXPECT_TRUE(IsConjunction("und", kGerman));
  EXPECT_TRUE(IsCommonWord("oder", kGerman));
  EXPECT_TRUE(IsCommonWord("aber", kGerman));
  EXPECT_TRUE(IsCommonWord("wenn", kGerman));
  EXPECT_FALSE(IsCommonWord("the", kGerman));
  EXPECT_FALSE(IsCommonWord("the", 2));
  EXPECT_FALSE(IsCommonWord("the", -1));
}

}  // namespace
}  // namespace tagwright
