#include "words/word_table.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <random>
#include <set>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "support/word_counting.h"

namespace tagwright {
namespace {

// The ordered array that the table stands for, kept the slow way: a linear search, and one
// step of insertion sorting after every count.
class ReferenceTable {
 public:
  void Count(const std::string& word, float weight) {
    std::size_t i = 0;
    while (i < entries_.size() && entries_[i].word != word) ++i;
    if (i < entries_.size()) {
      ++entries_[i].frequency;
      entries_[i].keyValue += weight;
    } else {
      entries_.push_back(Row{word, 1, weight});
    }
    if (entries_.size() > 1) Reposition();
  }

  void MergePlural(std::string& word) {
    for (Row& e : entries_) {
      if (e.word + "s" == word) {
        word.pop_back();
        return;
      }
      if (word + "s" == e.word) {
        e.word.pop_back();
        return;
      }
    }
  }

  RankedWords Entries() const {
    RankedWords ranked;
    for (const Row& e : entries_) ranked.push_back({e.word, e.frequency, e.keyValue});
    return ranked;
  }

 private:
  struct Row {
    std::string word;
    std::int64_t frequency = 0;
    float keyValue = 0;
  };

  void Reposition() {
    std::size_t b = 1;
    while (b < entries_.size() && !(entries_[b].keyValue > entries_[b - 1].keyValue)) ++b;
    if (b == entries_.size()) return;
    const Row saved = entries_[b];
    std::size_t i = 0;
    while (i < entries_.size() && !(entries_[i].keyValue < saved.keyValue)) ++i;
    if (i == entries_.size()) return;
    for (std::size_t d = b; d > i; --d) entries_[d] = entries_[d - 1];
    entries_[i] = saved;
  }

  std::vector<Row> entries_;
};

void ExpectSameTable(const RankedWords& expected, const RankedWords& actual) {
  ASSERT_EQ(expected.size(), actual.size());
  for (std::size_t i = 0; i < expected.size(); ++i) {
    EXPECT_EQ(expected[i].word, actual[i].word) << "rank " << i + 1;
    EXPECT_EQ(expected[i].frequency, actual[i].frequency) << "rank " << i + 1;
    EXPECT_EQ(expected[i].keyValue, actual[i].keyValue) << "rank " << i + 1;
  }
}

std::vector<std::string> Words(const RankedWords& ranked) {
  std::vector<std::string> words;
  for (const RankedWord& w : ranked) words.emplace_back(w.word);
  return words;
}

TEST(WordTable, CountsNewAndRepeatedWords) {
  WordTable table;
  EXPECT_TRUE(Count(table, "page", 1));
  EXPECT_EQ(table.WordCount(), 1);
  EXPECT_FALSE(Count(table, "page", 3));
  EXPECT_EQ(table.WordCount(), 1);
  const RankedWord page = table.Find("page");
  EXPECT_EQ(page.word, "page");
  EXPECT_EQ(page.frequency, 2);
  EXPECT_EQ(page.keyValue, 4.0f);
  EXPECT_EQ(table.Find("absent").frequency, 0);

  table.Reset();
  EXPECT_EQ(table.WordCount(), 0);
  EXPECT_TRUE(table.Ranked().empty());
  EXPECT_TRUE(Count(table, "page", 1));
}

TEST(WordTable, RankOrderKeepsEarlierEqualsAhead) {
  WordTable table;
  Count(table, "alpha", 2);
  Count(table, "beta", 1);
  Count(table, "gamma", 1);
  // A new word heavier than the last entry moves up behind the entries of equal value.
  Count(table, "delta", 2);
  EXPECT_EQ(Words(table.Ranked()), (std::vector<std::string>{"alpha", "delta", "beta", "gamma"}));
  // Rising to exactly the value of the entry before it keeps gamma behind beta...
  Count(table, "beta", 1);
  Count(table, "gamma", 1);
  EXPECT_EQ(Words(table.Ranked()), (std::vector<std::string>{"alpha", "delta", "beta", "gamma"}));
  // ...and passing an equal value places it after every entry of its new value.
  Count(table, "gamma", 1);
  EXPECT_EQ(Words(table.Ranked()), (std::vector<std::string>{"gamma", "alpha", "delta", "beta"}));
}

TEST(WordTable, SumThatNoLongerGrowsKeepsItsPlace) {
  // 2^24 + 1 is not a float: the count changes the frequency but not the value, and an
  // unchanged value must not send the entry behind its equals.
  WordTable table;
  ReferenceTable reference;
  const std::vector<std::pair<std::string, float>> counts = {
      {"first", 16777216.0f}, {"second", 16777216.0f}, {"third", 16777216.0f}, {"second", 1.0f}};
  for (const auto& [word, weight] : counts) {
    Count(table, word, weight);
    reference.Count(word, weight);
  }
  EXPECT_EQ(Words(table.Ranked()), (std::vector<std::string>{"first", "second", "third"}));
  EXPECT_EQ(table.Find("second").frequency, 2);
  ExpectSameTable(reference.Entries(), table.Ranked());
}

TEST(WordTable, HasNoSixteenBitLimits) {
  WordTable table;
  for (int i = 0; i < 40000; ++i) Count(table, std::to_string(i) + "w", 1);
  EXPECT_EQ(table.WordCount(), 40000);
  for (int i = 0; i < 40000; ++i) Count(table, "7w", 1);
  EXPECT_EQ(table.Find("7w").frequency, 40001);
  const RankedWords ranked = table.Ranked();
  EXPECT_EQ(ranked.front().word, "7w");
  EXPECT_EQ(ranked.front().keyValue, 40001.0f);
  EXPECT_EQ(ranked[1].word, "0w");
  EXPECT_EQ(ranked.back().word, "39999w");
}

TEST(WordTable, PluralMergingTakesFirstCandidateInRankOrder) {
  WordTable table;
  std::string_view word = "pages";
  EXPECT_TRUE(MergeAndCount(table, word, 1));
  EXPECT_EQ(word, "pages");
  // The singular arriving later turns the stored plural into the singular.
  word = "page";
  EXPECT_FALSE(MergeAndCount(table, word, 1));
  EXPECT_EQ(word, "page");
  EXPECT_EQ(table.WordCount(), 1);
  EXPECT_EQ(table.Find("page").frequency, 2);
  // A plural arriving later loses its s.
  word = "pages";
  EXPECT_FALSE(MergeAndCount(table, word, 1));
  EXPECT_EQ(word, "page");
  EXPECT_EQ(table.Find("page").frequency, 3);

  // "bus" has both a singular candidate (bu) and a plural one (buss); the heavier wins.
  WordTable both;
  Count(both, "bu", 1);
  Count(both, "buss", 2);
  word = "bus";
  EXPECT_FALSE(MergeAndCount(both, word, 1));
  EXPECT_EQ(word, "bus");
  EXPECT_EQ(Words(both.Ranked()), (std::vector<std::string>{"bus", "bu"}));
  EXPECT_EQ(both.Find("bus").frequency, 2);
}

TEST(WordTable, MatchesInsertionSortedArrayOnRandomCounts) {
  // Short words over three letters, so that plurals, singulars and chains of final s meet
  // often; small whole weights, so that equal key values are common.
  const std::vector<std::string> vocabulary = {"a",  "as",  "ass", "asss", "b",    "bs", "bss",
                                               "ab", "abs", "ba",  "bas",  "bass", "sa", "sas"};
  std::mt19937 random(20240611);
  int sequencesWithTwins = 0;
  for (int sequence = 0; sequence < 400; ++sequence) {
    WordTable table;
    ReferenceTable reference;
    const int length = 1 + static_cast<int>(random() % 120);
    for (int step = 0; step < length; ++step) {
      const std::string& word = vocabulary[random() % vocabulary.size()];
      const float weight = static_cast<float>(1 + random() % (sequence % 2 == 0 ? 3 : 9));
      std::string_view mine = word;
      std::string theirs = word;
      MergeAndCount(table, mine, weight);
      reference.MergePlural(theirs);
      ASSERT_EQ(mine, theirs) << "sequence " << sequence << " step " << step;
      reference.Count(theirs, weight);
    }
    SCOPED_TRACE("sequence " + std::to_string(sequence));
    ExpectSameTable(reference.Entries(), table.Ranked());
    if (HasFailure()) return;
    const std::vector<std::string> words = Words(reference.Entries());
    if (std::set<std::string>(words.begin(), words.end()).size() < words.size()) {
      ++sequencesWithTwins;
    }
  }
  // The chains of final s that leave two equal entries were met along the way.
  EXPECT_GT(sequencesWithTwins, 0);
}

TEST(WordTable, ManyWordsWithPluralChainsMatchTheArray) {
  // Enough words for the index to grow several times while entries lose their final s and
  // words come back after their last entry was renamed; of 3 to 12 letters, so that words
  // kept in the entry and words kept apart (over eight letters) merge both ways.
  std::vector<std::string> vocabulary;
  for (int stem = 0; stem < 300; ++stem) {
    std::string base = "w";
    base += std::to_string(stem * 7919 % 1000);
    base.append(static_cast<std::size_t>(stem % 6), 'q');
    base += 'x';
    for (const char* tail : {"", "s", "ss"}) vocabulary.push_back(base + tail);
  }
  std::mt19937 random(5);
  WordTable table;
  ReferenceTable reference;
  for (int step = 0; step < 6000; ++step) {
    const std::string& word = vocabulary[random() % vocabulary.size()];
    const float weight = static_cast<float>(1 + random() % 3);
    std::string_view mine = word;
    std::string theirs = word;
    reference.MergePlural(theirs);
    MergeAndCount(table, mine, weight);
    ASSERT_EQ(mine, theirs) << "step " << step;
    reference.Count(theirs, weight);
  }
  ExpectSameTable(reference.Entries(), table.Ranked());
  // The rare words are left out before the ranking, the others keep their order.
  RankedWords frequent = reference.Entries();
  std::erase_if(frequent, [](const RankedWord& w) { return w.frequency < 12; });
  ASSERT_LT(frequent.size(), reference.Entries().size());
  ExpectSameTable(frequent, table.Ranked(12));
  WordTable copy = table;  // the table is a value
  EXPECT_EQ(copy.WordCount(), table.WordCount());
  EXPECT_EQ(copy.Find(reference.Entries().front().word).frequency,
            reference.Entries().front().frequency);
}

TEST(WordTable, RankedInPercentOfTheHighestOfTheWordsKept) {
  WordTable table;
  Count(table, "alpha", 30);
  Count(table, "beta", 15);
  Count(table, "gamma", 3);
  Count(table, "rare", 90);
  Count(table, "alpha", 0);
  Count(table, "beta", 0);
  Count(table, "gamma", 0);
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
  Count(large, "alpha", 671089);
  Count(large, "beta", 1);
  words = large.Ranked(1, true);
  EXPECT_EQ(words[0].keyValue, 100.0f);
  EXPECT_EQ(words[1].keyValue, static_cast<float>(100.0 / 671089.0));

  EXPECT_TRUE(WordTable().Ranked(1, true).empty());
}

}  // namespace
}  // namespace tagwright
