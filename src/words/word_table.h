#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "words/ranked_word.h"

namespace tagwright {

/// The distinct words of a scan with their frequency and key value, kept in rank order:
/// descending key value, and among equal key values the entry that reached its value first
/// stands first (an entry whose value grows is placed after every entry whose value is equal
/// to or greater than its own). The order is held as a key (value, stamp) rather than by
/// moving entries, so counting costs O(1) whatever the table size.
class WordTable {
 public:
  /// Empties the table.
  void Reset();

  /// Number of entries (`intNumWords`).
  std::int64_t intNumWords() const { return static_cast<std::int64_t>(entries_.size()); }

  /// Counts `word` with `weight` in the first entry equal to it, or appends a new entry.
  /// Returns true when a new entry was appended.
  bool CountWord(std::string_view word, float weight);

  /// The plural merging step for a word about to be counted: among the entries equal to the
  /// word less a final "s" or to the word plus "s", the first in rank order is taken. In the
  /// first case `word` loses its final "s"; in the second the entry loses its final "s".
  void MergePlural(std::string& word);

  /// The entries in rank order (frequency and summed key value, unscaled).
  RankedWords Ranked() const;

  /// Frequency and key value of the first entry equal to `word` (0, 0 when absent).
  RankedWord Find(std::string_view word) const;

 private:
  struct Entry {
    std::string word;
    std::int64_t frequency = 0;
    float keyValue = 0;
    std::uint64_t stamp = 0;  // when the key value last changed
  };
  /// True when entry a stands before entry b in rank order.
  bool Before(std::size_t a, std::size_t b) const;
  /// The first entry in rank order equal to `word`, or npos.
  std::size_t FirstEqual(std::string_view word) const;
  /// Gives entry `index`, the first entry of its word, the word `newWord`.
  void Rename(std::size_t index, std::string newWord);

  // Lets the index be searched with a string_view, without building a string.
  struct WordHash {
    using is_transparent = void;
    std::size_t operator()(std::string_view word) const {
      return std::hash<std::string_view>{}(word);
    }
  };

  static constexpr std::size_t npos = static_cast<std::size_t>(-1);
  std::vector<Entry> entries_;
  // Word to the indexes of the entries holding it, as a heap whose top is the first in rank
  // order; more than one index only after plural chains.
  std::unordered_map<std::string, std::vector<std::size_t>, WordHash, std::equal_to<>> index_;
  std::uint64_t clock_ = 0;
};

}  // namespace tagwright
