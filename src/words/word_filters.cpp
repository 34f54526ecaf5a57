#include "words/word_filters.h"

#include <algorithm>

#include "util/unicode_text.h"
#include "words/common_words.h"

namespace tagwright {

namespace {

bool IsRomanNumeralLetter(char c) {
  return c == 'i' || c == 'v' || c == 'x' || c == 'l' || c == 'c' || c == 'm';
}

// The modern reading's words may hold letters of any script: they are counted in display
// columns, a wide (Chinese, Japanese, Korean) character as two.
std::int64_t LetterCount(std::string_view word, const AnalysisSettings& settings) {
  return static_cast<std::int64_t>(settings.ModernMarkup() ? DisplayWidth(word) : word.size());
}

// The rules after the short-word rule, for a word of `length` letters.
bool IsDroppedLongerWord(std::string_view word, std::int64_t length,
                         const AnalysisSettings& settings) {
  if (length > kMaxWordLength) return true;
  // One letter repeated (aaa, zz).
  if (length > 1 && word.find_first_not_of(word.front()) == std::string_view::npos) return true;
  // Only the letters of Roman numerals (xiv, mmiv, but also mix, ill, civic); this also drops
  // the empty word.
  if (std::all_of(word.begin(), word.end(), IsRomanNumeralLetter)) return true;
  // Adverbs, past tenses and gerunds; short words such as "need" or "king" stay.
  if (length >= 5 && (word.ends_with("ly") || word.ends_with("ed") || word.ends_with("ing"))) {
    return true;
  }
  return settings.IgnoreCommonWords() && IsCommonWord(word, kEnglish);
}

}  // namespace

bool IsDroppedWord(std::string_view word, const AnalysisSettings& settings) {
  const std::int64_t length = LetterCount(word, settings);
  if (IsShortWord(static_cast<std::size_t>(length), settings)) return true;
  return IsDroppedLongerWord(word, length, settings);
}

WordOutcome ProcessLongerWord(std::string_view& word, std::uint32_t stemHash, WordTable& table,
                              const AnalysisSettings& settings, const ContextWeigher& weigher) {
  // The settings and the word alone decide the filters: a word that the table holds (under its
  // own name, which it had when it was counted) passed them then.
  WordTable::Forms forms = table.Lookup(word, stemHash);
  if (!forms.Held() && IsDroppedLongerWord(word, LetterCount(word, settings), settings)) {
    return WordOutcome::Dropped;
  }
  return table.MergeAndCount(word, weigher.ContextWeight(), forms) ? WordOutcome::Added
                                                                   : WordOutcome::Counted;
}

}  // namespace tagwright
