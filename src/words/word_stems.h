#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "words/ranked_word.h"

struct sb_stemmer;

namespace tagwright {

/// The Snowball stemmer of one language, which merges a word's inflections ("varieties" and
/// "variety" share "varieti"). Not shared between threads.
class WordStemmer {
 public:
  WordStemmer() = default;
  ~WordStemmer();
  WordStemmer(const WordStemmer&) = delete;
  WordStemmer& operator=(const WordStemmer&) = delete;

  /// Takes the stemmer of `language`, an `<html lang>` value ("de", "pt-BR", "EN"; empty:
  /// English). False, and no stemmer, when Snowball has none for the language.
  bool SetLanguage(std::string_view language);
  bool Active() const { return stemmer_ != nullptr; }
  /// The language of the stemmer in use (its primary subtag, lower-cased).
  const std::string& Language() const { return language_; }

  /// The stem of `word` (lower-case UTF-8); the word itself without a stemmer. The view is
  /// valid until the next call.
  std::string_view Stem(std::string_view word);

 private:
  sb_stemmer* stemmer_ = nullptr;
  std::string language_;
};

/// Merges the words of `ranked` (in rank order, unscaled) that share a stem: the merged word
/// sums their frequencies and key values and is shown in its most frequent form (among equals
/// the first in rank order); the merged words are ranked by key value, among equals in the
/// order of their first form. Then, as WordTable::Ranked does, drops those counted fewer than
/// `minFrequency` times and, with `inPercent`, gives key values in percent of the highest.
/// The words of the result are views into `ranked`'s words.
RankedWords MergeByStem(const RankedWords& ranked, WordStemmer& stemmer, std::int64_t minFrequency,
                        bool inPercent);

}  // namespace tagwright
