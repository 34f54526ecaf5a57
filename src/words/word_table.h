#pragma once

#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "util/block_array.h"
#include "util/large_allocator.h"
#include "words/ranked_word.h"

namespace tagwright {

/// The distinct words of a scan with their frequency and key value, kept in rank order:
/// descending key value, and among equal key values the entry that reached its value first
/// stands first (an entry whose value grows is placed after every entry whose value is equal
/// to or greater than its own). The order is held as a key (value, stamp) rather than by
/// moving entries, so counting costs O(1) whatever the table size.
class WordTable {
 public:
  static constexpr std::size_t npos = static_cast<std::size_t>(-1);

  /// Empties the table.
  void Reset();

  /// Number of entries (`intNumWords`).
  std::int64_t WordCount() const { return static_cast<std::int64_t>(entries_.size()); }

  /// The hash under which `word` is indexed: that of the word less its final "s"s, which its
  /// singular and plural share.
  static std::uint32_t StemHash(std::string_view word);

  /// True when the index has outgrown the processor's caches: looking words up then waits
  /// for memory, unless their places were asked for ahead with PrefetchStem().
  bool IndexOutgrewCaches() const { return slots_.size() >= kPrefetchFrom; }
  /// A hint that a word with stem hash `hash` is looked up soon: loading its place in the
  /// index starts now, so that the wait overlaps other work. Changes nothing.
  void PrefetchStem(std::uint32_t hash) const {
    if (slots_.empty()) return;
    // A probe sequence goes on into the next cache line when its start lies near the end of one.
    const std::size_t mask = slots_.size() - 1;
    __builtin_prefetch(&slots_[hash & mask]);
    __builtin_prefetch(&slots_[(hash + 2) & mask]);
  }

  // The slots of a word and of its two plural-merging candidates.
  struct Forms {
    /// True when the table holds the word itself.
    bool Held() const { return exact != npos; }

    std::size_t singular = npos;  // the word less its final "s"
    std::size_t exact = npos;
    std::size_t plural = npos;  // the word plus "s"
    std::size_t free = npos;    // where a new form would go
    std::uint32_t hash = 0;     // of the word less its final "s"s
  };
  /// Looks up `word`, whose stem hash is `stemHash`, and its forms with one more or one less
  /// final "s". The result is valid until the table changes.
  Forms Lookup(std::string_view word, std::uint32_t stemHash) const;
  /// Counts `word`, just looked up, after the plural merging step: among the entries equal to
  /// the word less a final "s" or to the word plus "s", the first in rank order is taken. In
  /// the first case `word` loses its final "s"; in the second the entry loses its final "s".
  /// The word is then counted with `weight` in the first entry equal to it, or appended as a
  /// new entry (then the result is true).
  bool MergeAndCount(std::string_view& word, float weight, Forms& forms);

  /// The entries counted at least `minFrequency` times in rank order, with their frequency
  /// and summed key value; with `inPercent`, the key values are in percent of the highest
  /// among them (InPercentOf; unchanged when none is above 0).
  RankedWords Ranked(std::int64_t minFrequency = 1, bool inPercent = false) const;

  /// Frequency and key value of the first entry equal to `word` (0, 0 when absent).
  RankedWord Find(std::string_view word) const;

  /// Lets the index go once the scan is over, so that Ranked() needs less memory beside the
  /// table; Find() then searches the entries one by one. Nothing may be counted after it
  /// until Reset().
  void ReleaseIndex();

 private:
  // 32 bytes. A word of up to eight letters is kept in the entry itself, so that finding and
  // counting it touches one cache line; a longer one lies in text_.
  struct Entry {
    char letters[8] = {};      // the word, or the offset of a longer word in text_
    std::uint32_t length = 0;  // with kInText set when the word lies in text_
    float keyValue = 0;
    std::int64_t frequency = 0;
    std::uint64_t stamp = 0;  // when the key value last changed
  };
  static constexpr std::uint32_t kInText = 0x80000000;
  static_assert(sizeof(Entry) == 32);
  // One distinct word in the index. Its entries are one entry (`ref` is its index) or several
  // (`ref` is kHeaps plus the index of a heap in heaps_ whose top is the first in rank order).
  // A slot whose word lost its last entry to a rename stays as a placeholder (kNoEntries).
  // Eight bytes, so that the index of a page's words stays in the processor's caches.
  struct Slot {
    std::uint32_t hash = 0;  // of the word less its final "s"s
    std::uint32_t ref = kEmpty;
  };
  static constexpr std::uint32_t kEmpty = 0xFFFFFFFF;
  static constexpr std::uint32_t kNoEntries = 0xFFFFFFFE;
  static constexpr std::uint32_t kHeaps = 0x80000000;
  // An index of 1 MiB or more is taken to miss the caches.
  static constexpr std::size_t kPrefetchFrom = (std::size_t{1} << 20) / sizeof(Slot);

  std::string_view WordOf(const Entry& entry) const {
    if ((entry.length & kInText) == 0) return std::string_view(entry.letters, entry.length);
    std::size_t offset = 0;
    std::memcpy(&offset, entry.letters, sizeof offset);
    return std::string_view(text_).substr(offset, entry.length & ~kInText);
  }
  /// True when entry a stands before entry b in rank order.
  bool Before(std::size_t a, std::size_t b) const;
  /// The first entry in rank order of a live slot, or npos.
  std::size_t FirstOf(std::size_t slot) const;
  /// The plural merge on looked-up forms: true when the word is to lose its final "s" (its
  /// singular comes first); otherwise an entry of the word plus "s" may have lost its "s", and
  /// `forms.exact` then names the word's slot.
  bool MergeForms(Forms& forms);
  /// Counts `word`, whose forms are looked up, in its first entry or in a new one; true when new.
  bool CountForms(std::string_view word, float weight, const Forms& forms);
  /// The first entry in rank order equal to `word`, or npos.
  std::size_t FirstEqual(std::string_view word) const;
  /// Adds to entry `index` the occurrence with `weight`.
  void Count(std::size_t index, float weight);
  /// Appends an entry for `word` (whose stem hash is `hash`) counted once with `weight`; its
  /// slot is to be `free`.
  void Append(std::string_view word, float weight, std::uint32_t hash, std::size_t free);
  /// Takes the final "s" off entry `index`, the first entry of the word in slot `from`, and
  /// adds it to the word's singular in slot `to` (npos when there is none yet: then a new
  /// slot is taken at `free`). Returns the singular's slot.
  std::size_t DropFinalS(std::size_t index, std::size_t from, std::size_t to, std::size_t free);
  /// Stores `slot` at `free` (or where it belongs after the index grows); returns where.
  std::size_t Occupy(std::size_t free, Slot slot);
  /// The first empty slot on the probe sequence of `hash`.
  std::size_t FreeSlotFor(std::uint32_t hash) const;

  BlockArray<Entry> entries_;
  std::string text_;  // the words longer than eight letters as first counted, one after the other
  // Open addressing with linear probing; the forms of one word share their hash, so they
  // lie together.
  std::vector<Slot, LargeAllocator<Slot>> slots_;
  std::size_t usedSlots_ = 0;  // live slots and placeholders
  std::size_t placeholders_ = 0;
  std::vector<std::vector<std::uint32_t>> heaps_;
  bool indexReleased_ = false;
  std::uint64_t clock_ = 0;
};

}  // namespace tagwright
