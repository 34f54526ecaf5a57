#include "words/stop_words.h"

#include <algorithm>
#include <unordered_set>
#include <vector>

#include "words/common_words.h"
#include "words/stop_word_data.h"

namespace tagwright {
namespace {

using std::string_view_literals::operator""sv;

struct LanguageStopWords {
  std::string_view language;
  std::unordered_set<std::string_view> words;  // views into the compiled-in text
};

std::vector<LanguageStopWords> LoadLists() {
  std::vector<LanguageStopWords> lists;
  for (const StopWordList& list : StopWordLists()) {
    LanguageStopWords& entry = lists.emplace_back();
    entry.language = list.language;
    std::string_view rest = list.words;
    while (!rest.empty()) {
      const std::size_t end = std::min(rest.find('\n'), rest.size());
      std::string_view word = rest.substr(0, end);
      if (word.ends_with('\r')) word.remove_suffix(1);
      if (!word.empty()) entry.words.insert(word);
      rest.remove_prefix(std::min(end + 1, rest.size()));
    }
  }
  return lists;
}

// The primary subtag of a language tag: "PT" for "PT_br".
std::string_view PrimarySubtag(std::string_view tag) {
  return tag.substr(0, tag.find_first_of("-_"));
}

bool EqualsIgnoringCase(std::string_view lower, std::string_view text) {
  const auto lowered = [](char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
  };
  return std::ranges::equal(lower, text, {}, {}, lowered);
}

}  // namespace

bool IsStopWord(std::string_view language, std::string_view word) {
  // Built on first use; the initialisation of a local static is thread-safe.
  static const std::vector<LanguageStopWords> lists = LoadLists();
  const std::string_view primary = PrimarySubtag(language);
  const auto is = [primary](const LanguageStopWords& l) {
    return EqualsIgnoringCase(l.language, primary);
  };
  auto found = std::find_if(lists.begin(), lists.end(), is);
  if (found == lists.end()) {
    found = std::find_if(lists.begin(), lists.end(),
                         [](const LanguageStopWords& l) { return l.language == "en"sv; });
  }
  if (found == lists.end()) return false;
  if (found->words.contains(word)) return true;
  // The German conjunctions of the classic common-word list belong to German too.
  return found->language == "de"sv && IsConjunction(word, kGerman);
}

}  // namespace tagwright
