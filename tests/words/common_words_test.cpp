#include "words/common_words.h"

#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <vector>

#include "words/word_set.h"

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

TEST(CommonWords, EnglishCheckAgreesWithTheFourLists) {
  // Every word of up to four letters a to z, and a few longer ones around the longest.
  std::vector<std::string> words = {"themselves", "themselve", "themselvess", "everywhere",
                                    "underneath", "underneat", "somethings",  "yesterday"};
  for (std::string word; word.size() <= 4;) {
    words.push_back(word);
    // The next word in the order "", a, b, ..., z, aa, ab, ...
    std::size_t i = word.size();
    while (i > 0 && word[i - 1] == 'z') word[--i] = 'a';
    if (i == 0) {
      word.insert(word.begin(), 'a');
    } else {
      ++word[i - 1];
    }
  }
  int common = 0;
  for (const std::string& word : words) {
    const bool listed = IsConjunction(word, kEnglish) || IsGeneralWord(word, kEnglish) ||
                        IsPreposition(word, kEnglish) || IsNumberWord(word, kEnglish);
    ASSERT_EQ(IsCommonWord(word, kEnglish), listed) << word;
    common += listed;
  }
  EXPECT_GT(common, 100);
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

namespace tagwright {
namespace {

TEST(WordSet, FindsExactlyItsWords) {
  // Words that share the length and the first two and last two letters share a hash.
  const std::vector<std::string_view> words = {"a",     "ab",       "abxcd",
                                               "abycd", "\xd0\xb8", "overlong-common-word"};
  const WordSet set(words);
  for (std::string_view word : words) EXPECT_TRUE(set.Contains(word)) << word;
  for (std::string_view other :
       {"", "b", "ba", "abzcd", "abcd", "abxcde", "\xd0\xb9", "overlong-common-words"}) {
    EXPECT_FALSE(set.Contains(other)) << other;
  }
  EXPECT_FALSE(WordSet().Contains("a"));
}

}  // namespace
}  // namespace tagwright
