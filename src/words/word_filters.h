#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "util/settings.h"
#include "words/word_table.h"

namespace tagwright {

/// Supplies the weight of the current occurrence; asked only for a word that is counted.
class ContextWeigher {
 public:
  virtual ~ContextWeigher() = default;
  virtual float ContextWeight() const = 0;
};

enum class WordOutcome { Dropped, Counted, Added };

/// True when the fixed and configured rules drop the word: short (when the setting is on),
/// longer than `kMaxWordLength`, one repeated letter, only Roman-numeral letters, common
/// (when the setting is on), or five letters or more ending in "ly", "ed" or "ing".
bool IsDroppedWord(std::string_view word, const AnalysisSettings& settings);

/// True when the short-word rule alone drops a word of `length` letters.
inline bool IsShortWord(std::size_t length, const AnalysisSettings& settings) {
  return settings.IgnoreShortWords() &&
         static_cast<std::int64_t>(length) <= settings.ShortWordSize();
}

/// Filters `word`, a word that is not short (IsShortWord) and whose stem hash is known
/// (WordTable::StemHash), merges it with its plural or singular, and counts it in `table` with
/// the weight asked from `weigher`; `word` is narrowed to the word as counted. The table is
/// asked first: a word that it holds passed the filters
/// when it was first counted, and only the others are filtered.
WordOutcome ProcessLongerWord(std::string_view& word, std::uint32_t stemHash, WordTable& table,
                              const AnalysisSettings& settings, const ContextWeigher& weigher);

}  // namespace tagwright
