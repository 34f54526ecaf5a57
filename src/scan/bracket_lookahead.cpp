#include "scan/bracket_lookahead.h"

#include <algorithm>

namespace tagwright {

void BracketLookahead::Reset(std::string_view line) {
  line_ = line;
  built_ = false;
  unclosed_.clear();
}

void BracketLookahead::Build(std::size_t from) {
  // From the end backwards a "<" is closed when a ">" after it is still unmatched; the
  // matching needs only a count, and only the unclosed "<" are kept.
  const std::string_view line = line_;  // a local copy stays in registers
  std::int64_t pendingClosers = 0;
  std::int64_t balance = 0;
  for (std::size_t i = line.size(); i-- > from;) {
    const char c = line[i];
    if (c == '>') {
      ++pendingClosers;
      --balance;
    } else if (c == '<') {
      ++balance;
      if (pendingClosers > 0) {
        --pendingClosers;
      } else {
        unclosed_.push_back(static_cast<std::uint32_t>(i));
      }
    }
  }
  cursor_ = from;
  balance_ = 0;
  endBalance_ = balance;
  built_ = true;
}

bool BracketLookahead::FallsBy(std::size_t at, std::int64_t depth) {
  at = std::min(at, line_.size());
  if (!built_) Build(at);
  const auto begin = line_.begin() + static_cast<std::ptrdiff_t>(cursor_);
  const auto end = line_.begin() + static_cast<std::ptrdiff_t>(at);
  balance_ += std::count(begin, end, '<') - std::count(begin, end, '>');
  cursor_ = at;
  while (!unclosed_.empty() && unclosed_.back() < at) unclosed_.pop_back();
  const auto lowestAhead = endBalance_ - static_cast<std::int64_t>(unclosed_.size());
  return lowestAhead <= balance_ - depth;
}

}  // namespace tagwright
