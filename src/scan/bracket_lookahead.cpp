#include "scan/bracket_lookahead.h"

#include <algorithm>
#include <bit>

#include "util/byte_search.h"

namespace tagwright {

void BracketLookahead::Reset(std::string_view line) {
  line_ = line;
  built_ = false;
  unclosed_.clear();
}

namespace {

constexpr std::size_t kBlock = kByteBlock;

// Where the kBlock bytes from `p` on hold "<" and ">": blocks are read at once, and within a
// block only the brackets are looked at.
struct Brackets {
  unsigned opening = 0;
  unsigned closing = 0;
};
Brackets BracketsIn(const char* p) {
  const BlockMasks masks = BlockMasksOf(p, '<', '>');
  return {masks.first, masks.second};
}

// The number of "<" less the number of ">" in [begin, end) of `line`.
std::int64_t Balance(std::string_view line, std::size_t begin, std::size_t end) {
  std::int64_t balance = 0;
  std::size_t i = begin;
  for (; end - i >= kBlock; i += kBlock) {
    const Brackets brackets = BracketsIn(line.data() + i);
    balance += std::popcount(brackets.opening) - std::popcount(brackets.closing);
  }
  for (; i < end; ++i) balance += (line[i] == '<') - (line[i] == '>');
  return balance;
}

}  // namespace

void BracketLookahead::Build(std::size_t from) {
  // From the end backwards a "<" is closed when a ">" after it is still unmatched; the
  // matching needs only a count, and only the unclosed "<" are kept.
  const std::string_view line = line_;  // a local copy stays in registers
  std::int64_t pendingClosers = 0;
  std::int64_t balance = 0;
  auto take = [&](std::size_t i, bool opening) {
    if (!opening) {
      ++pendingClosers;
      --balance;
      return;
    }
    ++balance;
    if (pendingClosers > 0) {
      --pendingClosers;
    } else {
      unclosed_.push_back(static_cast<std::uint32_t>(i));
    }
  };
  std::size_t i = line.size();
  for (; i - from >= kBlock; i -= kBlock) {
    const std::size_t block = i - kBlock;
    const Brackets brackets = BracketsIn(line.data() + block);
    // The brackets of the block, last first.
    for (unsigned both = brackets.opening | brackets.closing; both != 0;) {
      const unsigned bit = std::bit_width(both) - 1u;
      both &= ~(1u << bit);
      take(block + bit, ((brackets.opening >> bit) & 1u) != 0);
    }
  }
  while (i > from) {
    const char c = line[--i];
    if (c == '<' || c == '>') take(i, c == '<');
  }
  cursor_ = from;
  balance_ = 0;
  endBalance_ = balance;
  built_ = true;
}

bool BracketLookahead::FallsBy(std::size_t at, std::int64_t depth) {
  at = std::min(at, line_.size());
  if (!built_) Build(at);
  balance_ += Balance(line_, cursor_, at);
  cursor_ = at;
  while (!unclosed_.empty() && unclosed_.back() < at) unclosed_.pop_back();
  const auto lowestAhead = endBalance_ - static_cast<std::int64_t>(unclosed_.size());
  return lowestAhead <= balance_ - depth;
}

}  // namespace tagwright
