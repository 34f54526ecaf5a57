#pragma once

#include <string>
#include <string_view>

namespace tagwright {

/// True when `word` is a common word of `language`, an `<html lang>` value such as "de",
/// "de-DE", "pt_BR" or "EN": only its primary subtag counts, in any case; an empty or unknown
/// language means English. `word` is lower-case UTF-8, as written ("für", "и"); the Latin
/// words are also known in their transliteration ("fuer"). Safe to call from several threads.
bool IsStopWord(std::string_view language, std::string_view word);

struct LanguageStopWords;
class WordSet;

/// The common-word list of one language, looked up once for many words.
class StopWords {
 public:
  /// The list of `language`, as IsStopWord finds it.
  explicit StopWords(std::string_view language = {});
  bool Contains(std::string_view word) const;

 private:
  LanguageStopWords* list_;
  mutable const WordSet* words_ = nullptr;  // the list's set, once asked
};

/// The language of a page that does not declare one, guessed from the text of its beginning
/// (`head`, UTF-8; tags are skipped): the language whose common words occur most often among
/// the lists other than English's, when they are at least ten and half as many as English's.
/// A page written mostly in Chinese, Japanese or Korean letters takes that language by its
/// script (kana: Japanese; Hangul: Korean; Han characters alone: Chinese). Empty (English)
/// otherwise.
std::string GuessLanguage(std::string_view head);

/// True when the letters of `head` (UTF-8; tags are skipped) are mostly of scripts other than
/// Latin, a Chinese, Japanese or Korean character counting as three letters.
bool IsMostlyOtherScripts(std::string_view head);

}  // namespace tagwright
