#include "words/word_filters.h"

#include "words/common_words.h"

namespace tagwright {

bool IsDroppedWord(std::string_view word, const AnalysisSettings& settings) {
  const auto length = static_cast<std::int64_t>(word.size());
  if (settings.IgnoreShortWords() && length <= settings.ShortWordSize()) return true;
  if (length > intMaxWordLength) return true;
  // One letter repeated (aaa, zz).
  if (length > 1 && word.find_first_not_of(word.front()) == std::string_view::npos) return true;
  // Only the letters of Roman numerals (xiv, mmiv, but also mix, ill, civic); this also drops
  // the empty word.
  if (word.find_first_not_of("ivxlcm") == std::string_view::npos) return true;
  if (settings.IgnoreCommonWords() && IsCommonWord(word, kEnglish)) return true;
  // Adverbs, past tenses and gerunds; short words such as "need" or "king" stay.
  if (length >= 5 && (word.ends_with("ly") || word.ends_with("ed") || word.ends_with("ing"))) {
    return true;
  }
  return false;
}

WordOutcome ProcessWord(std::string& word, WordTable& table, const AnalysisSettings& settings,
                        const ContextWeigher& weigher) {
  if (IsDroppedWord(word, settings)) return WordOutcome::Dropped;
  table.MergePlural(word);
  return table.CountWord(word, weigher.ContextWeight()) ? WordOutcome::Added : WordOutcome::Counted;
}

}  // namespace tagwright
