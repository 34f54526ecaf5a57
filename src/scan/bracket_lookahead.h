#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

namespace tagwright {

/// Answers, for positions of one line asked in increasing order, whether the ">" ahead come to
/// outnumber the "<" ahead by a given depth somewhere before the line ends. Beyond a few
/// counters it keeps only the positions of the "<" ahead that no later ">" closes.
class BracketLookahead {
 public:
  /// Starts over on `line`, which must stay alive and unchanged until the next Reset.
  /// Lines must be shorter than 2^32 characters.
  void Reset(std::string_view line);

  /// True when some stretch of the line from `at` on (up to the end at most) holds `depth`
  /// or more ">" than "<". `at` is held to the line's length and must not be less than in
  /// the previous call since Reset.
  bool FallsBy(std::size_t at, std::int64_t depth);

 private:
  void Build(std::size_t from);

  std::string_view line_;
  bool built_ = false;
  // The balance ("<" less ">") from where the first question was asked up to cursor_, and
  // up to the end of the line.
  std::size_t cursor_ = 0;
  std::int64_t balance_ = 0;
  std::int64_t endBalance_ = 0;
  // The "<" from cursor_ on that no ">" after them closes, nearest last. The lowest balance
  // ahead of a position lies as many steps under the end balance as there are of them
  // ahead of it.
  std::vector<std::uint32_t> unclosed_;
};

}  // namespace tagwright
