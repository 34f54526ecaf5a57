#include "words/word_stems.h"

#include <libstemmer.h>

#include <algorithm>
#include <climits>

namespace tagwright {

WordStemmer::~WordStemmer() {
  if (stemmer_ != nullptr) sb_stemmer_delete(stemmer_);
}

bool WordStemmer::SetLanguage(std::string_view language) {
  std::string code(language.substr(0, language.find_first_of("-_")));
  std::transform(code.begin(), code.end(), code.begin(),
                 [](char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c; });
  if (code.empty()) code = "en";
  if (code == language_ && stemmer_ != nullptr) return true;
  if (stemmer_ != nullptr) sb_stemmer_delete(stemmer_);
  language_ = code;
  // Snowball knows the languages by their two- and three-letter codes and their names; only
  // letters are passed on.
  const bool letters = code.size() <= 3 && std::all_of(code.begin(), code.end(),
                                                       [](char c) { return c >= 'a' && c <= 'z'; });
  stemmer_ = letters ? sb_stemmer_new(code.c_str(), "UTF_8") : nullptr;
  return stemmer_ != nullptr;
}

std::string_view WordStemmer::Stem(std::string_view word) {
  if (stemmer_ == nullptr || word.size() > static_cast<std::size_t>(INT_MAX)) return word;
  const sb_symbol* stem = sb_stemmer_stem(stemmer_, reinterpret_cast<const sb_symbol*>(word.data()),
                                          static_cast<int>(word.size()));
  // Only running out of memory gives no stem.
  if (stem == nullptr) return word;
  return {reinterpret_cast<const char*>(stem),
          static_cast<std::size_t>(sb_stemmer_length(stemmer_))};
}

void WordForms::Clear() {
  shown_.clear();
  forms_.clear();
}

void WordForms::Finish() {
  shown_.clear();
  for (const auto& [written, form] : forms_) {
    if (form.count == 0) continue;
    const Form*& best = shown_[form.counted];
    if (best == nullptr || form.count > best->count ||
        (form.count == best->count && form.order < best->order)) {
      best = &form;
    }
  }
}

std::string_view WordForms::MostFrequent(std::string_view counted) const {
  const auto found = shown_.find(counted);
  return found == shown_.end() ? counted : std::string_view(found->second->shown);
}

}  // namespace tagwright
