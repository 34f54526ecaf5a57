#include "words/word_set.h"

#include <algorithm>

namespace tagwright {

WordSet::WordSet(const std::vector<std::string_view>& words) {
  std::size_t size = 4;
  while (size < 3 * words.size()) size *= 2;
  slots_.assign(size, {});
  marks_.assign(size, 0);
  mask_ = size - 1;
  for (std::string_view word : words) {
    if (word.empty()) continue;
    longest_ = std::max(longest_, word.size());
    const std::size_t hash = Hash(word);
    std::size_t i = hash & mask_;
    while (marks_[i] != 0 && slots_[i] != word) i = (i + 1) & mask_;
    marks_[i] = Mark(hash);
    slots_[i] = word;
  }
}

}  // namespace tagwright
