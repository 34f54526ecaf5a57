#include "words/word_stems.h"

#include <libstemmer.h>

#include <algorithm>
#include <climits>
#include <unordered_map>
#include <vector>

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

RankedWords MergeByStem(const RankedWords& ranked, WordStemmer& stemmer, std::int64_t minFrequency,
                        bool inPercent) {
  struct Group {
    std::size_t first = 0;  // rank of its first form
    std::int64_t frequency = 0;
    float keyValue = 0;
    std::size_t shown = 0;  // rank of the form shown
  };
  std::vector<Group> groups;
  std::unordered_map<std::string, std::size_t> groupOf;
  groupOf.reserve(ranked.size());
  for (std::size_t i = 0; i < ranked.size(); ++i) {
    const auto [at, added] =
        groupOf.try_emplace(std::string(stemmer.Stem(ranked[i].word)), groups.size());
    if (added) groups.push_back(Group{i, 0, 0, i});
    Group& group = groups[at->second];
    group.frequency += ranked[i].frequency;
    group.keyValue += ranked[i].keyValue;
    if (ranked[i].frequency > ranked[group.shown].frequency) group.shown = i;
  }
  // The groups stand in the order of their first forms: a stable sort keeps it among equals.
  std::stable_sort(groups.begin(), groups.end(),
                   [](const Group& a, const Group& b) { return a.keyValue > b.keyValue; });
  float highest = 0;
  for (const Group& group : groups) {
    if (group.frequency >= minFrequency) highest = std::max(highest, group.keyValue);
  }
  inPercent = inPercent && highest > 0;
  RankedWords merged;
  for (const Group& group : groups) {
    if (group.frequency < minFrequency) continue;
    merged.push_back(RankedWord{ranked[group.shown].word, group.frequency,
                                inPercent ? InPercentOf(group.keyValue, highest) : group.keyValue});
  }
  return merged;
}

}  // namespace tagwright
