#include "output/word_list.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

namespace tagwright {
namespace {

RankedWords Numbered(std::size_t count) {
  RankedWords words;
  for (std::size_t i = 0; i < count; ++i) words.push_back({"word", 2, 50});
  return words;
}

TEST(ShowWordList, WritesAlignedRowsInRankOrder) {
  const RankedWords words = {{"keyword", 12, 100}, {"tools", 3, 12.5f}, {"design", 2, 13.5f}};
  EXPECT_EQ(ShowWordList(words, Settings{}),
            "Rank Value Frequency\r\n"
            "   1   100   12 keyword\r\n"
            "   2    12    3 tools\r\n"
            "   3    14    2 design\r\n");
}

TEST(ShowWordList, RankAndFrequencyColumnsWidenWhenNeeded) {
  RankedWords words = Numbered(57);
  words[0] = {"keyword", 12, 100};
  EXPECT_EQ(ShowWordList(words, Settings{}).substr(0, 47),
            "Rank Value Frequency\r\n   1   100   12 keyword\r\n");

  words = Numbered(12345);
  const std::string list = ShowWordList(words, Settings{});
  EXPECT_EQ(list.substr(22, 25), "    1    50    2 word\r\n  ");
  EXPECT_TRUE(list.ends_with("\r\n12345    50    2 word\r\n"));

  // A frequency of five digits widens the column for every row.
  words = {{"common", 40000, 100}, {"rare", 2, 1}};
  EXPECT_EQ(ShowWordList(words, Settings{}),
            "Rank Value Frequency\r\n"
            "   1   100 40000 common\r\n"
            "   2     1     2 rare\r\n");
}

TEST(ShowWordList, NumbersOfEveryLengthAndLongWordsKeepTheirColumns) {
  // Digit counts change at each power of ten; the largest frequency sets the column.
  const std::vector<std::int64_t> frequencies = {INT64_MAX, 1000000000000000000, 100, 99, 10, 9};
  RankedWords words;
  for (std::int64_t f : frequencies) words.push_back({"word", f, 100});
  const std::string longWord(100000, 'w');  // more than a buffer of rows
  words.push_back({longWord, 1, 100});
  const std::string list = ShowWordList(words, Settings{});
  std::string expected = "Rank Value Frequency\r\n";
  for (std::size_t i = 0; i < frequencies.size(); ++i) {
    const std::string frequency = std::to_string(frequencies[i]);
    expected += "   " + std::to_string(i + 1) + "   100 " +
                std::string(19 - frequency.size(), ' ') + frequency + " word\r\n";
  }
  expected += "   7   100 " + std::string(18, ' ') + "1 " + longWord + "\r\n";
  EXPECT_EQ(list, expected);
}

TEST(ShowWordList, WordsOfEveryLengthComeWhole) {
  // Short words are copied in fixed-size steps that overlap: each length from 1 to past 16.
  RankedWords words;
  std::vector<std::string> texts;
  for (std::size_t n = 1; n <= 20; ++n) {
    std::string text;
    for (std::size_t i = 0; i < n; ++i) text.push_back(static_cast<char>('a' + i));
    texts.push_back(text);
  }
  for (const std::string& text : texts) words.push_back({text, 2, 50});
  std::string expected = "Rank Value Frequency\r\n";
  for (std::size_t i = 0; i < texts.size(); ++i) {
    expected += (i < 9 ? "   " : "  ") + std::to_string(i + 1) + "    50    2 " + texts[i] + "\r\n";
  }
  EXPECT_EQ(ShowWordList(words, Settings{}), expected);
}

TEST(ShowWordList, LeavesOutWordsThatRoundToZero) {
  const RankedWords words = {
      {"alpha", 5, 100}, {"beta", 2, 1.5f}, {"gamma", 2, 0.5f}, {"delta", 2, 0.4f}};
  EXPECT_EQ(ShowWordList(words, Settings{}),
            "Rank Value Frequency\r\n"
            "   1   100    5 alpha\r\n"
            "   2     2    2 beta\r\n"
            "\r\n"
            "Words with key value 0 not shown.\r\n");
}

TEST(ShowNoWordsMessage, SaysSizeAndFrequencyInWords) {
  EXPECT_EQ(ShowNoWordsMessage(3, 2), "No words with more than 3 letters occur at least twice.");
  EXPECT_EQ(ShowNoWordsMessage(1, 1), "No words with more than 1 letter occur at least once.");
  EXPECT_EQ(ShowNoWordsMessage(9, 5), "No words with more than 9 letters occur at least 5 times.");

  Settings settings;
  settings.ignoreShortWords = false;
  settings.shortWordSize = 2;
  settings.thresholdFrequency = 3;
  EXPECT_EQ(ShowWordList({}, settings),
            "No words with more than 2 letters occur at least 3 times.");
}

TEST(WriteWordList, PartsJoinToTheListWithTheGivenLineBreak) {
  // Long enough for several parts, with a zero-value tail for the closing note.
  RankedWords words = Numbered(9000);
  words[0] = {"keyword", 40000, 100};
  words.push_back({"zero", 2, 0.2f});
  std::string expected = ShowWordList(words, Settings{});
  std::erase(expected, '\r');
  std::string joined;
  int parts = 0;
  WriteWordList(words, Settings{}, "\n", [&](std::string_view part) {
    joined += part;
    ++parts;
  });
  EXPECT_GT(parts, 1);
  EXPECT_EQ(joined, expected);
  EXPECT_TRUE(joined.ends_with("\n9000    50     2 word\n\nWords with key value 0 not shown.\n"));

  joined.clear();
  WriteWordList({}, Settings{}, "\n", [&](std::string_view part) { joined += part; });
  EXPECT_EQ(joined, ShowNoWordsMessage(3, 2));
}

}  // namespace
}  // namespace tagwright
