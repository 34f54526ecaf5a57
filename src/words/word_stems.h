#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

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

/// The forms counted under each stem, so that a merged word is shown in the form the page
/// uses most.
class WordForms {
 public:
  void Clear() { forms_.clear(); }
  /// Counts one occurrence of `form` under `stem`.
  void Count(std::string_view stem, std::string_view form);
  /// The form counted most often under `stem` (among equals the first counted), or `stem`
  /// itself when none was. The view is valid until the next Count or Clear.
  std::string_view MostFrequent(std::string_view stem) const;

 private:
  struct Form {
    std::string word;
    std::int64_t count = 0;
  };
  struct Hash {
    using is_transparent = void;
    std::size_t operator()(std::string_view text) const {
      return std::hash<std::string_view>{}(text);
    }
  };
  std::unordered_map<std::string, std::vector<Form>, Hash, std::equal_to<>> forms_;
};

}  // namespace tagwright
