#include "words/word_table.h"

#include <algorithm>
#include <numeric>
#include <utility>

namespace tagwright {

void WordTable::Reset() {
  entries_.clear();
  index_.clear();
  clock_ = 0;
}

bool WordTable::Before(std::size_t a, std::size_t b) const {
  const Entry& x = entries_[a];
  const Entry& y = entries_[b];
  if (x.keyValue != y.keyValue) return x.keyValue > y.keyValue;
  return x.stamp < y.stamp;
}

std::size_t WordTable::FirstEqual(std::string_view word) const {
  const auto found = index_.find(word);
  return found == index_.end() ? npos : found->second.front();
}

bool WordTable::CountWord(std::string_view word, float weight) {
  const std::size_t i = FirstEqual(word);
  if (i != npos) {
    Entry& entry = entries_[i];
    ++entry.frequency;
    const float before = entry.keyValue;
    entry.keyValue += weight;
    // An entry moves behind its equals only when its value really changes; a sum that no
    // longer grows in single precision keeps its place.
    if (entry.keyValue != before) entry.stamp = ++clock_;
    return false;
  }
  entries_.push_back(Entry{std::string(word), 1, weight, ++clock_});
  index_.emplace(std::string(word), std::vector<std::size_t>{entries_.size() - 1});
  return true;
}

void WordTable::Rename(std::size_t index, std::string newWord) {
  // Only the first entry of a word is ever counted or renamed, so the others keep their key
  // values and each word's indexes stay a valid heap whose top is the first in rank order.
  const auto later = [this](std::size_t a, std::size_t b) { return Before(b, a); };
  const auto old = index_.find(std::string_view(entries_[index].word));
  std::vector<std::size_t>& oldIndexes = old->second;
  std::pop_heap(oldIndexes.begin(), oldIndexes.end(), later);
  oldIndexes.pop_back();
  if (oldIndexes.empty()) index_.erase(old);
  std::vector<std::size_t>& newIndexes = index_[newWord];
  newIndexes.push_back(index);
  std::push_heap(newIndexes.begin(), newIndexes.end(), later);
  entries_[index].word = std::move(newWord);
}

void WordTable::MergePlural(std::string& word) {
  // Two candidates: an entry holding `word` less a final "s" (then `word` loses its "s") and
  // one holding `word` plus "s" (then that entry loses it). The first in rank order wins.
  std::size_t singular = npos;
  if (word.size() > 1 && word.back() == 's') {
    singular = FirstEqual(std::string_view(word).substr(0, word.size() - 1));
  }
  const std::size_t plural = FirstEqual(word + "s");
  if (singular != npos && (plural == npos || Before(singular, plural))) {
    word.pop_back();
  } else if (plural != npos) {
    Rename(plural, word);
  }
}

RankedWords WordTable::Ranked() const {
  std::vector<std::size_t> order(entries_.size());
  std::iota(order.begin(), order.end(), std::size_t{0});
  std::sort(order.begin(), order.end(),
            [this](std::size_t a, std::size_t b) { return Before(a, b); });
  RankedWords ranked;
  ranked.reserve(order.size());
  for (std::size_t i : order) {
    const Entry& entry = entries_[i];
    ranked.push_back(RankedWord{entry.word, entry.frequency, entry.keyValue});
  }
  return ranked;
}

RankedWord WordTable::Find(std::string_view word) const {
  const std::size_t i = FirstEqual(word);
  if (i == npos) return {};
  const Entry& entry = entries_[i];
  return RankedWord{entry.word, entry.frequency, entry.keyValue};
}

}  // namespace tagwright
