#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

namespace tagwright {

/// Tells whether words occur in the user's phrases text. A short text is searched directly; a
/// long one (a hand-edited state file can hold megabytes) gets, at the first search, a sorted
/// index of its suffixes cut at the longest word, so that each search is a bisection.
class PhraseSearch {
 public:
  /// Texts longer than this are indexed.
  static constexpr std::size_t kIndexAbove = std::size_t{64} * 1024;

  /// `text` must outlive the search.
  explicit PhraseSearch(std::string_view text, std::size_t indexAbove = kIndexAbove)
      : text_(text), indexAbove_(indexAbove) {}

  /// True when `word` occurs anywhere in the text (exact characters).
  bool Contains(std::string_view word);

 private:
  std::string_view Suffix(std::uint32_t position) const;

  std::string_view text_;
  std::size_t indexAbove_;
  bool indexed_ = false;
  std::vector<std::uint32_t> suffixes_;
};

}  // namespace tagwright
