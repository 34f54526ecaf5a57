#include "words/word_table.h"

#include <algorithm>
#include <bit>
#include <cassert>
#include <cmath>
#include <cstring>
#include <new>
#include <utility>

#include "util/str_proc.h"

namespace tagwright {

namespace {

std::uint64_t Load(const char* at, std::size_t bytes) {
  std::uint64_t value = 0;
  std::memcpy(&value, at, bytes);
  return value;
}

}  // namespace

// A word of up to 16 letters is read in two loads that may overlap (with the length mixed in,
// no two words read alike), a longer one eight bytes at a time, and a multiply-and-fold step
// spreads the bits.
std::uint32_t WordTable::StemHash(std::string_view word) {
  std::size_t length = word.size();
  while (length > 0 && word[length - 1] == 's') --length;
  constexpr std::uint64_t kMultiplier = 0x9E3779B97F4A7C15;  // 2^64 divided by the golden ratio
  const char* at = word.data();
  std::uint64_t first = 0;
  std::uint64_t last = 0;
  std::uint64_t hash = length;
  if (length >= 8) {
    std::size_t i = 0;
    for (; i + 16 < length; i += 8) {
      hash = (hash ^ Load(at + i, 8)) * kMultiplier;
      hash ^= hash >> 29;
    }
    first = Load(at + i, 8);
    last = Load(at + length - 8, 8);
  } else if (length >= 4) {
    first = Load(at, 4);
    last = Load(at + length - 4, 4);
  } else if (length > 0) {
    first = static_cast<unsigned char>(at[0]) |
            static_cast<std::uint64_t>(static_cast<unsigned char>(at[length / 2])) << 8;
    last = static_cast<unsigned char>(at[length - 1]);
  }
  hash = (hash ^ first) * kMultiplier;
  hash = (hash ^ (hash >> 29) ^ last) * kMultiplier;
  return static_cast<std::uint32_t>(hash ^ (hash >> 32));
}

void WordTable::Reset() {
  entries_.clear();
  text_.clear();
  slots_.clear();
  usedSlots_ = 0;
  placeholders_ = 0;
  heaps_.clear();
  indexReleased_ = false;
  clock_ = 0;
}

void WordTable::ReleaseIndex() {
  decltype(slots_)().swap(slots_);
  std::vector<std::vector<std::uint32_t>>().swap(heaps_);
  usedSlots_ = 0;
  placeholders_ = 0;
  indexReleased_ = true;
}

bool WordTable::Before(std::size_t a, std::size_t b) const {
  const Entry& x = entries_[a];
  const Entry& y = entries_[b];
  if (x.keyValue != y.keyValue) return x.keyValue > y.keyValue;
  return x.stamp < y.stamp;
}

std::size_t WordTable::FirstOf(std::size_t slot) const {
  if (slot == npos) return npos;
  const std::uint32_t ref = slots_[slot].ref;
  if (ref == kEmpty || ref == kNoEntries) return npos;
  return ref < kHeaps ? ref : heaps_[ref - kHeaps].front();
}

WordTable::Forms WordTable::Lookup(std::string_view word, std::uint32_t stemHash) const {
  Forms forms;
  const std::uint32_t hash = stemHash;
  forms.hash = hash;
  if (slots_.empty()) return forms;
  const bool endsInS = !word.empty() && word.back() == 's';
  const std::size_t mask = slots_.size() - 1;
  std::size_t i = hash & mask;
  for (; slots_[i].ref != kEmpty; i = (i + 1) & mask) {
    const Slot& slot = slots_[i];
    if (slot.hash != hash || slot.ref == kNoEntries) continue;
    // Same stem hash: the forms differ in length only, by their final "s"s.
    const std::string_view stored = WordOf(entries_[FirstOf(i)]);
    const std::size_t length = stored.size();
    std::size_t* form = nullptr;
    if (length == word.size()) {
      form = &forms.exact;
    } else if (length == word.size() + 1) {
      form = &forms.plural;
    } else if (length + 1 == word.size() && endsInS) {
      form = &forms.singular;
    } else {
      continue;
    }
    // The stored word is compared with the word or its singular; a plural has one "s" more.
    if (stored.substr(0, std::min(length, word.size())) == word.substr(0, length) &&
        (length <= word.size() || stored.back() == 's')) {
      *form = i;
    }
  }
  forms.free = i;
  return forms;
}

std::size_t WordTable::FirstEqual(std::string_view word) const {
  if (!indexReleased_) return FirstOf(Lookup(word, StemHash(word)).exact);
  std::size_t first = npos;
  for (std::size_t i = 0; i < entries_.size(); ++i) {
    if (WordOf(entries_[i]) == word && (first == npos || Before(i, first))) first = i;
  }
  return first;
}

void WordTable::Count(std::size_t index, float weight) {
  Entry& entry = entries_[index];
  ++entry.frequency;
  const float before = entry.keyValue;
  entry.keyValue += weight;
  // An entry moves behind its equals only when its value really changes; a sum that no
  // longer grows in single precision keeps its place.
  if (entry.keyValue != before) entry.stamp = ++clock_;
}

std::size_t WordTable::Occupy(std::size_t free, Slot slot) {
  // At most half the slots in use keeps the probe sequences short; the index is rebuilt
  // (without the placeholders) before it gets fuller.
  if (free == npos || 2 * (usedSlots_ + 1) > slots_.size()) {
    const std::size_t live = usedSlots_ - placeholders_;
    std::size_t capacity = std::max<std::size_t>(slots_.size(), 16);
    while (4 * live > capacity) capacity *= 2;
    decltype(slots_) old(capacity);
    old.swap(slots_);
    usedSlots_ = live;
    placeholders_ = 0;
    for (const Slot& s : old) {
      if (s.ref != kEmpty && s.ref != kNoEntries) slots_[FreeSlotFor(s.hash)] = s;
    }
    free = FreeSlotFor(slot.hash);
  }
  slots_[free] = slot;
  ++usedSlots_;
  return free;
}

std::size_t WordTable::FreeSlotFor(std::uint32_t hash) const {
  const std::size_t mask = slots_.size() - 1;
  std::size_t i = hash & mask;
  while (slots_[i].ref != kEmpty) i = (i + 1) & mask;
  return i;
}

void WordTable::Append(std::string_view word, float weight, std::uint32_t hash, std::size_t free) {
  // Entry and heap indexes have 31 bits; so many words would not fit in memory anyway.
  if (entries_.size() >= kHeaps) throw std::bad_alloc();
  const auto index = static_cast<std::uint32_t>(entries_.size());
  if (word.size() >= kInText) throw std::bad_alloc();
  Entry entry{{}, static_cast<std::uint32_t>(word.size()), weight, 1, ++clock_};
  if (word.size() <= sizeof entry.letters) {
    CopyShort(entry.letters, word.data(), word.size());
  } else {
    const std::size_t offset = text_.size();
    static_assert(sizeof offset == sizeof entry.letters);
    std::memcpy(entry.letters, &offset, sizeof offset);
    entry.length |= kInText;
    text_.append(word);
  }
  entries_.push_back(entry);
  Occupy(free, Slot{hash, index});
}

std::size_t WordTable::DropFinalS(std::size_t index, std::size_t from, std::size_t to,
                                  std::size_t free) {
  // Only the first entry of a word is ever counted or renamed, so the others keep their key
  // values and each word's heap stays valid with the first in rank order on top.
  const auto later = [this](std::uint32_t a, std::uint32_t b) { return Before(b, a); };
  Slot& old = slots_[from];
  const std::uint32_t hash = old.hash;  // the singular shares it
  if (old.ref < kHeaps) {
    old.ref = kNoEntries;
    ++placeholders_;
  } else {
    std::vector<std::uint32_t>& heap = heaps_[old.ref - kHeaps];
    std::pop_heap(heap.begin(), heap.end(), later);
    heap.pop_back();
    if (heap.empty()) {
      heap.shrink_to_fit();
      old.ref = kNoEntries;
      ++placeholders_;
    }
  }
  Entry& entry = entries_[index];
  --entry.length;
  const auto moved = static_cast<std::uint32_t>(index);
  if (to == npos) {
    return Occupy(free, Slot{hash, moved});
  }
  Slot& target = slots_[to];
  if (target.ref < kHeaps) {
    if (heaps_.size() >= kNoEntries - kHeaps) throw std::bad_alloc();
    std::vector<std::uint32_t> heap{target.ref, moved};
    std::make_heap(heap.begin(), heap.end(), later);
    target.ref = static_cast<std::uint32_t>(kHeaps + heaps_.size());
    heaps_.push_back(std::move(heap));
  } else {
    std::vector<std::uint32_t>& heap = heaps_[target.ref - kHeaps];
    heap.push_back(moved);
    std::push_heap(heap.begin(), heap.end(), later);
  }
  return to;
}

bool WordTable::CountForms(std::string_view word, float weight, const Forms& forms) {
  if (forms.exact != npos) {
    Count(FirstOf(forms.exact), weight);
    return false;
  }
  Append(word, weight, forms.hash, forms.free);
  return true;
}

bool WordTable::MergeForms(Forms& forms) {
  // Two candidates: an entry holding the word less a final "s" (then the word loses its "s")
  // and one holding the word plus "s" (then that entry loses it). The first in rank order wins.
  const std::size_t singular = FirstOf(forms.singular);
  const std::size_t plural = FirstOf(forms.plural);
  if (singular != npos && (plural == npos || Before(singular, plural))) return true;
  if (plural != npos) forms.exact = DropFinalS(plural, forms.plural, forms.exact, forms.free);
  return false;
}

bool WordTable::MergeAndCount(std::string_view& word, float weight, Forms& forms) {
  assert(!indexReleased_);
  if (MergeForms(forms)) {
    word.remove_suffix(1);
    Count(FirstOf(forms.singular), weight);
    return false;
  }
  return CountForms(word, weight, forms);
}

RankedWords WordTable::Ranked(std::int64_t minFrequency, bool inPercent) const {
  // Stamps are unique (each comes from its own clock tick), so (value, stamp) orders the
  // entries totally. Key values are sums of positive weights: their bit patterns order like
  // the values, so while the clock fits in 32 bits the rank order is that of one 64-bit key,
  // the value's bits inverted above the stamp.
  struct Key {
    std::uint64_t order;
    std::uint32_t index;
  };
  bool packed = clock_ <= 0xFFFFFFFF;
  std::vector<Key, LargeAllocator<Key>> keys;
  keys.reserve(entries_.size());
  float highest = 0;
  for (std::size_t i = 0; i < entries_.size(); ++i) {
    const Entry& entry = entries_[i];
    if (entry.frequency < minFrequency) continue;
    if (entry.keyValue > highest) highest = entry.keyValue;
    packed = packed && !std::signbit(entry.keyValue) && !std::isnan(entry.keyValue);
    const auto bits = std::bit_cast<std::uint32_t>(entry.keyValue);
    keys.push_back(
        Key{static_cast<std::uint64_t>(~bits) << 32 | entry.stamp, static_cast<std::uint32_t>(i)});
  }
  if (packed) {
    std::sort(keys.begin(), keys.end(),
              [](const Key& a, const Key& b) { return a.order < b.order; });
  } else {
    std::sort(keys.begin(), keys.end(),
              [this](const Key& a, const Key& b) { return Before(a.index, b.index); });
  }
  inPercent = inPercent && highest > 0;
  RankedWords ranked;
  ranked.reserve(keys.size());
  for (const Key& key : keys) {
    const Entry& entry = entries_[key.index];
    const float value = inPercent ? InPercentOf(entry.keyValue, highest) : entry.keyValue;
    ranked.push_back(RankedWord{WordOf(entry), entry.frequency, value});
  }
  return ranked;
}

RankedWord WordTable::Find(std::string_view word) const {
  const std::size_t i = FirstEqual(word);
  if (i == npos) return {};
  const Entry& entry = entries_[i];
  return RankedWord{WordOf(entry), entry.frequency, entry.keyValue};
}

}  // namespace tagwright
