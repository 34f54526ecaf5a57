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

/// The words of a page as written, each with its stem (looked up once per distinct word) and
/// how often it was counted, so that a merged word is shown in the form the page uses most.
class WordForms {
 public:
  struct Form {
    std::string stem;     // the stem with its Latin letters spelled, as the table counts it
    std::string shown;    // the word with its Latin letters spelled, as it is shown
    std::string counted;  // the table's word it was last counted under (empty: none yet)
    std::int64_t count = 0;
    std::size_t order = 0;  // when it was first seen
  };

  void Clear();
  /// The form of `written`, whose spelling is `shown`; its stem is made by `stemmer` and then
  /// spelled by `spell` the first time the form is seen.
  template <typename Spell>
  Form& Of(std::string_view written, std::string_view shown, WordStemmer& stemmer, Spell&& spell) {
    auto found = forms_.find(written);
    if (found == forms_.end()) {
      Form form;
      spell(stemmer.Stem(written), form.stem);
      form.shown = shown;
      form.order = forms_.size();
      found = forms_.emplace(std::string(written), std::move(form)).first;
    }
    return found->second;
  }
  /// Counts one occurrence of `form` under the table's word `counted`.
  static void Count(Form& form, std::string_view counted) {
    ++form.count;
    if (form.counted != counted) form.counted = counted;
  }
  /// After the last word: finds for each of the table's words the form counted most often
  /// (among equals the first seen).
  void Finish();
  /// The form shown for the table's word `counted` (after Finish), or `counted` itself when
  /// no form was counted under it. The view is valid until the next Clear.
  std::string_view MostFrequent(std::string_view counted) const;

 private:
  struct Hash {
    using is_transparent = void;
    std::size_t operator()(std::string_view text) const {
      return std::hash<std::string_view>{}(text);
    }
  };
  std::unordered_map<std::string, Form, Hash, std::equal_to<>> forms_;
  std::unordered_map<std::string_view, const Form*> shown_;
};

}  // namespace tagwright
