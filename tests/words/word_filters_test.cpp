#include "words/word_filters.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/word_counting.h"

namespace tagwright {
namespace {

struct FixedWeight final : ContextWeigher {
  float weight = 1;
  float ContextWeight() const override { return weight; }
};

Settings NoShortWordFilter() {
  Settings settings;
  settings.ignoreShortWords = false;
  return settings;
}

TEST(WordFilters, DropsByTheDefaultRules) {
  const Settings defaults;
  for (const char* word : {"the", "web", "pdf", "which", "would", "although", "into", "twice",
                           "speed", "family", "thing", "reply", "zzzz", "civic", "mill"}) {
    EXPECT_TRUE(IsDroppedWord(word, defaults)) << word;
  }
  for (const char* word : {"page", "need", "king", "holy", "civics", "ninth", "keyword"}) {
    EXPECT_FALSE(IsDroppedWord(word, defaults)) << word;
  }
}

TEST(WordFilters, SettingsSwitchTheirRules) {
  Settings settings;
  settings.shortWordSize = 5;
  EXPECT_TRUE(IsDroppedWord("pages", settings));
  EXPECT_FALSE(IsDroppedWord("design", settings));

  settings = NoShortWordFilter();
  EXPECT_FALSE(IsDroppedWord("b", settings));
  EXPECT_FALSE(IsDroppedWord("new", settings));
  for (const char* word : {"i", "v", "x", "l", "c", "m", "mix", "xiv", "mmiv", "aa", ""}) {
    EXPECT_TRUE(IsDroppedWord(word, settings)) << word;
  }
  EXPECT_TRUE(IsDroppedWord("the", settings));

  settings.ignoreCommonWords = false;
  EXPECT_FALSE(IsDroppedWord("which", settings));
  EXPECT_FALSE(IsDroppedWord("would", settings));
}

TEST(WordFilters, KeepsWordsUpToSixtyLetters) {
  const Settings defaults;
  std::string word(59, 'k');
  word += 'p';
  EXPECT_FALSE(IsDroppedWord(word, defaults));
  word += 'p';
  EXPECT_TRUE(IsDroppedWord(word, defaults));
}

TEST(ProcessWord, CountsAndMergesPlurals) {
  const Settings defaults;
  const FixedWeight weigher;
  WordTable table;
  std::string word = "pages";
  EXPECT_EQ(ProcessWord(word, table, defaults, weigher), WordOutcome::Added);
  EXPECT_EQ(word, "pages");
  word = "page";
  EXPECT_EQ(ProcessWord(word, table, defaults, weigher), WordOutcome::Counted);
  word = "pages";
  EXPECT_EQ(ProcessWord(word, table, defaults, weigher), WordOutcome::Counted);
  word = "the";
  EXPECT_EQ(ProcessWord(word, table, defaults, weigher), WordOutcome::Dropped);
  EXPECT_EQ(word, "the");
  ASSERT_EQ(table.WordCount(), 1);
  EXPECT_EQ(table.Find("page").frequency, 3);

  // Only a final s is handled: boxes and box stay apart, news joins new.
  const Settings settings = NoShortWordFilter();
  for (const char* w : {"new", "news", "box", "boxes"}) {
    word = w;
    ProcessWord(word, table, settings, weigher);
  }
  EXPECT_EQ(table.Find("new").frequency, 2);
  EXPECT_EQ(table.Find("news").frequency, 0);
  EXPECT_EQ(table.Find("box").frequency, 1);
  EXPECT_EQ(table.Find("boxes").frequency, 1);
}

TEST(ProcessWord, AddedReportsTheWordAsAppended) {
  const Settings settings = NoShortWordFilter();
  const FixedWeight weigher;
  WordTable table;
  std::string word = "design";
  ASSERT_EQ(ProcessWord(word, table, settings, weigher), WordOutcome::Added);
  word = "designs";
  // Merged into its singular before counting, so nothing new is appended.
  EXPECT_EQ(ProcessWord(word, table, settings, weigher), WordOutcome::Counted);
  EXPECT_EQ(word, "design");
  word = "tools";
  EXPECT_EQ(ProcessWord(word, table, settings, weigher), WordOutcome::Added);
  EXPECT_EQ(word, "tools");
  EXPECT_EQ(table.Find("tools").frequency, 1);
}

TEST(ProcessWord, ChainOfFinalSLeavesTwoEqualEntries) {
  const Settings settings = NoShortWordFilter();
  FixedWeight weigher;
  WordTable table;
  std::vector<WordOutcome> outcomes;
  for (const char* w : {"buss", "bu", "bus", "bu"}) {
    std::string word = w;
    outcomes.push_back(ProcessWord(word, table, settings, weigher));
  }
  EXPECT_EQ(outcomes, (std::vector<WordOutcome>{WordOutcome::Added, WordOutcome::Added,
                                                WordOutcome::Counted, WordOutcome::Counted}));
  const RankedWords ranked = table.Ranked();
  ASSERT_EQ(ranked.size(), 2u);
  // The first entry took bus and the second bu; both now read bu, and counting goes to the
  // first of them.
  EXPECT_EQ(ranked[0].word, "bu");
  EXPECT_EQ(ranked[0].frequency, 3);
  EXPECT_EQ(ranked[0].keyValue, 3.0f);
  EXPECT_EQ(ranked[1].word, "bu");
  EXPECT_EQ(ranked[1].frequency, 1);

  weigher.weight = 5;
  std::string word = "bu";
  EXPECT_EQ(ProcessWord(word, table, settings, weigher), WordOutcome::Counted);
  EXPECT_EQ(table.Find("bu").frequency, 4);
  EXPECT_EQ(table.Ranked()[1].frequency, 1);
}

}  // namespace
}  // namespace tagwright
