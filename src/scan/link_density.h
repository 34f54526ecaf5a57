#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace tagwright {

/// Where the words that a block held back go once it is judged no navigation.
class HeldWordSink {
 public:
  virtual ~HeldWordSink() = default;
  /// `written` as the page spells it, `word` with its Latin letters transliterated, `weight`
  /// the weight of its context where it stood.
  virtual void CountHeld(std::string_view written, std::string_view word, float weight) = 0;
};

/// The link-density rule for navigation written without nav: the words of the open blocks
/// (lists, list items, table cells, div, p) are held back until the block ends; a block with
/// at least three links and more than 70% of its letters inside them is navigation, and its
/// words are dropped. A block's letters and links count for the blocks around it too.
/// Cost stays linear: each word is held once, and at most kMaxHeld words are held (more are
/// counted at once, as text).
class LinkDensity {
 public:
  static constexpr std::size_t kMaxHeld = 4096;
  static constexpr std::size_t kMaxDepth = 256;
  static constexpr std::int64_t kMinLinks = 3;

  explicit LinkDensity(HeldWordSink& sink) : sink_(sink) {}

  /// Forgets every block and held word (before a page).
  void Reset();
  /// True while a block is open: words are then held back.
  bool Holding() const { return !blocks_.empty(); }

  /// A block element starts. An open p, li, dd, dt, td or th of the same name ends first, as
  /// their end tags may be left out.
  void Open(std::string_view name);
  /// An end tag: ends the innermost open block of `name` and every block inside it; an end
  /// tag of no open block changes nothing.
  void Close(std::string_view name);
  /// A link starts in the innermost block.
  void Link();
  /// `count` letters of text, inside a link or not.
  void Letters(std::size_t count, bool inLink);
  /// Holds a word back until its blocks are judged.
  void Hold(std::string_view written, std::string_view word, float weight);
  /// Counts every word still held (at the end of the page).
  void Flush();

 private:
  struct Block {
    std::string name;
    std::size_t firstHeld = 0;  // index of its first word in held_
    std::int64_t links = 0;
    std::uint64_t letters = 0;
    std::uint64_t linkLetters = 0;
  };
  struct Held {
    std::size_t at = 0;  // in text_: the written form, then the word
    std::size_t writtenLength = 0;
    std::size_t wordLength = 0;
    float weight = 0;
  };
  /// Ends the innermost block: drops its words when it is navigation, otherwise leaves them
  /// to the block around it, or counts them when there is none.
  void EndInnermost();
  /// Counts the words held from `first` on and forgets them.
  void CountFrom(std::size_t first);

  HeldWordSink& sink_;
  std::vector<Block> blocks_;
  std::vector<Held> held_;
  std::string text_;
};

}  // namespace tagwright
