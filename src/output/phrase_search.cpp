#include "output/phrase_search.h"

#include <algorithm>
#include <limits>
#include <numeric>

#include "util/settings.h"

namespace tagwright {
namespace {

// No counted word is longer, so suffixes cut here still tell every occurrence of a word.
constexpr std::size_t kSuffixCut = kMaxWordLength;

}  // namespace

std::string_view PhraseSearch::Suffix(std::uint32_t position) const {
  return text_.substr(position, kSuffixCut);
}

bool PhraseSearch::Contains(std::string_view word) {
  if (text_.size() <= indexAbove_ || word.size() > kSuffixCut ||
      text_.size() > std::numeric_limits<std::uint32_t>::max()) {
    return text_.find(word) != std::string_view::npos;
  }
  if (!indexed_) {
    suffixes_.resize(text_.size());
    std::iota(suffixes_.begin(), suffixes_.end(), std::uint32_t{0});
    std::sort(suffixes_.begin(), suffixes_.end(),
              [this](std::uint32_t a, std::uint32_t b) { return Suffix(a) < Suffix(b); });
    indexed_ = true;
  }
  // The suffixes that begin with the word stand together, from the first one not below it.
  const auto first = std::lower_bound(
      suffixes_.begin(), suffixes_.end(), word,
      [this](std::uint32_t position, std::string_view w) { return Suffix(position) < w; });
  return first != suffixes_.end() && Suffix(*first).starts_with(word);
}

}  // namespace tagwright
