#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

namespace tagwright {

/// A fixed set of words, built once and asked for every word of a page: open addressing over
/// a power-of-two table with room for about three times the words, hashed by the length and
/// the first two and last two bytes (cheaper than hashing every byte, and enough to tell a
/// list of common words apart). A word longer than the longest is turned away at once. The
/// words are views: the text they point into must outlive the set.
class WordSet {
 public:
  WordSet() = default;
  explicit WordSet(const std::vector<std::string_view>& words);

  bool Contains(std::string_view word) const {
    if (word.empty() || word.size() > longest_) return false;
    const std::size_t hash = Hash(word);
    const std::uint8_t mark = Mark(hash);
    for (std::size_t i = hash & mask_; marks_[i] != 0; i = (i + 1) & mask_) {
      if (marks_[i] == mark && slots_[i] == word) return true;
    }
    return false;
  }

 private:
  // A byte from the hash's top bits, never 0, kept for every word beside the index: most
  // words that the set does not hold are turned away by these few bytes, which stay in the
  // processor's caches, without a look at the words.
  static std::uint8_t Mark(std::size_t hash) { return static_cast<std::uint8_t>(hash >> 24 | 1); }

  static std::size_t Hash(std::string_view word) {
    const auto at = [word](std::size_t i) {
      return static_cast<std::uint64_t>(static_cast<unsigned char>(word[i]));
    };
    const std::size_t n = word.size();
    const std::uint64_t key =
        n | at(0) << 8 | at(n > 1 ? 1 : 0) << 16 | at(n - (n > 1 ? 2 : 1)) << 24 | at(n - 1) << 32;
    return static_cast<std::size_t>((key * 0x9E3779B97F4A7C15) >> 32);
  }

  std::vector<std::uint8_t> marks_ = std::vector<std::uint8_t>(1);  // 0: an empty slot
  std::vector<std::string_view> slots_ = std::vector<std::string_view>(1);
  std::size_t mask_ = 0;
  std::size_t longest_ = 0;
};

}  // namespace tagwright
