#include "scan/bracket_lookahead.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

namespace tagwright {
namespace {

// The plain answer: the balance before every position and its minimum from there on.
class Reference {
 public:
  explicit Reference(const std::string& line)
      : balance_(line.size() + 1), lowest_(line.size() + 1) {
    for (std::size_t i = 0; i < line.size(); ++i) {
      balance_[i + 1] = balance_[i] + (line[i] == '<') - (line[i] == '>');
    }
    lowest_[line.size()] = balance_[line.size()];
    for (std::size_t i = line.size(); i-- > 0;) lowest_[i] = std::min(balance_[i], lowest_[i + 1]);
  }
  bool FallsBy(std::size_t at, std::int64_t depth) const {
    at = std::min(at, balance_.size() - 1);
    return lowest_[at] <= balance_[at] - depth;
  }

 private:
  std::vector<std::int64_t> balance_, lowest_;
};

TEST(BracketLookahead, CountsClosersAgainstOpenersAhead) {
  BracketLookahead ahead;
  const std::string line = "a<b>> c<d>";
  ahead.Reset(line);
  EXPECT_TRUE(ahead.FallsBy(1, 1));    // "<b>>" ends one lower
  EXPECT_FALSE(ahead.FallsBy(1, 2));   // never two lower
  EXPECT_TRUE(ahead.FallsBy(4, 1));    // the second ">"
  EXPECT_FALSE(ahead.FallsBy(5, 1));   // " c<d>" comes back to where it began
  EXPECT_FALSE(ahead.FallsBy(99, 1));  // past the end nothing is ahead

  const std::string opened = "x<<<>";
  ahead.Reset(opened);
  EXPECT_FALSE(ahead.FallsBy(0, 1));
  EXPECT_TRUE(ahead.FallsBy(4, 1));
}

TEST(BracketLookahead, AgreesWithThePlainAnswerOnRandomLines) {
  std::mt19937 random(20261207);
  BracketLookahead ahead;
  for (int round = 0; round < 3000; ++round) {
    const std::size_t length = random() % 200;
    std::string line;
    // Lines that lean towards openers, towards closers, or neither, and text with a bracket
    // here and there (long stretches without any are passed in blocks).
    const auto lean = random() % 4;
    for (std::size_t i = 0; i < length; ++i) {
      const auto r = random() % (lean == 3 ? 200 : 10);
      line += r < 3 + lean % 3 ? '<' : r < 7 ? '>' : (r == 7 ? ' ' : 'a');
    }
    const Reference reference(line);
    ahead.Reset(line);
    std::size_t at = random() % (length + 2);
    while (at <= length + 1) {
      const std::int64_t depth = 1 + static_cast<std::int64_t>(random() % 6);
      ASSERT_EQ(ahead.FallsBy(at, depth), reference.FallsBy(at, depth))
          << "line \"" << line << "\" at " << at << " depth " << depth;
      at += random() % 4;  // the same position may be asked again
    }
  }
}

TEST(BracketLookahead, LongRunsOfOpenersAndClosers) {
  std::string line = "<a<b>" + std::string(100000, '<') + std::string(50000, '>') + "c>";
  const Reference reference(line);
  BracketLookahead ahead;
  ahead.Reset(line);
  for (std::size_t at = 5; at < line.size(); at += 997) {
    for (std::int64_t depth : {1, 2, 50000, 50001}) {
      ASSERT_EQ(ahead.FallsBy(at, depth), reference.FallsBy(at, depth)) << at << " " << depth;
    }
  }
}

}  // namespace
}  // namespace tagwright
