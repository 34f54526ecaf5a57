#pragma once

// Counting one word at a time, as the scan does, for the tests of the word table and filters.

#include <string>
#include <string_view>

#include "util/settings.h"
#include "util/unicode_text.h"
#include "words/word_filters.h"
#include "words/word_table.h"

namespace tagwright {

/// Merges `word` with its plural or singular in `table` and counts it with `weight`; `word`
/// becomes the word as counted. True when a new entry was appended.
inline bool MergeAndCount(WordTable& table, std::string_view& word, float weight) {
  WordTable::Forms forms = table.Lookup(word, WordTable::StemHash(word));
  return table.MergeAndCount(word, weight, forms);
}

/// MergeAndCount for a word whose counted form is not needed.
inline bool Count(WordTable& table, std::string_view word, float weight) {
  return MergeAndCount(table, word, weight);
}

/// Filters `word` as the scan does (short words first, then ProcessLongerWord) and counts it;
/// `word` becomes the word as counted.
inline WordOutcome ProcessWord(std::string& word, WordTable& table,
                               const AnalysisSettings& settings, const ContextWeigher& weigher) {
  const std::size_t letters = settings.ModernMarkup() ? DisplayWidth(word) : word.size();
  if (IsShortWord(letters, settings)) return WordOutcome::Dropped;
  std::string_view counted = word;
  const WordOutcome outcome =
      ProcessLongerWord(counted, WordTable::StemHash(counted), table, settings, weigher);
  word.resize(counted.size());
  return outcome;
}

}  // namespace tagwright
