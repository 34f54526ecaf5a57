#include "words/word_set.h"

#include <algorithm>

namespace tagwright {

WordSet::WordSet(const std::vector<std::string_view>& words) {
  std::size_t size = 4;
  while (size < 3 * words.size()) size *= 2;
  slots_.assign(size, {});
  mask_ = size - 1;
  for (std::string_view word : words) {
    if (word.empty()) continue;
    longest_ = std::max(longest_, word.size());
    std::size_t i = Hash(word) & mask_;
    while (!slots_[i].empty() && slots_[i] != word) i = (i + 1) & mask_;
    slots_[i] = word;
  }
}

}  // namespace tagwright
