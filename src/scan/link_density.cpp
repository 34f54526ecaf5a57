#include "scan/link_density.h"

#include <algorithm>
#include <array>

namespace tagwright {

namespace {

bool EndsAtNextOfItsKind(std::string_view name) {
  static constexpr std::array<std::string_view, 6> kOptionalEnd = {"p",  "li", "dd",
                                                                   "dt", "td", "th"};
  return std::find(kOptionalEnd.begin(), kOptionalEnd.end(), name) != kOptionalEnd.end();
}

}  // namespace

void LinkDensity::Reset() {
  blocks_.clear();
  held_.clear();
  text_.clear();
}

void LinkDensity::Open(std::string_view name) {
  if (!blocks_.empty() && blocks_.back().name == name && EndsAtNextOfItsKind(name)) {
    EndInnermost();
  }
  if (blocks_.size() >= kMaxDepth) {
    // Nesting this deep is no navigation bar: what is held counts as text.
    Flush();
  }
  blocks_.push_back(Block{std::string(name), held_.size()});
}

void LinkDensity::Close(std::string_view name) {
  const auto open = std::find_if(blocks_.rbegin(), blocks_.rend(),
                                 [&](const Block& block) { return block.name == name; });
  if (open == blocks_.rend()) return;
  const auto depth = static_cast<std::size_t>(blocks_.rend() - open);  // size after popping inner
  while (blocks_.size() >= depth) EndInnermost();
}

void LinkDensity::Link() {
  if (!blocks_.empty()) ++blocks_.back().links;
}

void LinkDensity::Letters(std::size_t count, bool inLink) {
  if (blocks_.empty()) return;
  Block& block = blocks_.back();
  block.letters += count;
  if (inLink) block.linkLetters += count;
}

void LinkDensity::Hold(std::string_view written, std::string_view word, float weight) {
  if (held_.size() >= kMaxHeld) {
    // So many words are no navigation bar: they count, and the open blocks are judged on what
    // follows.
    CountFrom(0);
    for (Block& block : blocks_) block.firstHeld = 0;
  }
  held_.push_back(Held{text_.size(), written.size(), word.size(), weight});
  text_.append(written);
  text_.append(word);
}

void LinkDensity::Flush() {
  CountFrom(0);
  blocks_.clear();
}

void LinkDensity::EndInnermost() {
  const Block block = blocks_.back();
  blocks_.pop_back();
  const bool navigation = block.links >= kMinLinks && block.linkLetters * 10 > block.letters * 7;
  if (navigation) {
    const std::size_t first = std::min(block.firstHeld, held_.size());
    text_.resize(first < held_.size() ? held_[first].at : text_.size());
    held_.resize(first);
  }
  if (blocks_.empty()) {
    CountFrom(0);
    return;
  }
  Block& outer = blocks_.back();
  outer.links += block.links;
  outer.letters += block.letters;
  outer.linkLetters += block.linkLetters;
}

void LinkDensity::CountFrom(std::size_t first) {
  for (std::size_t i = first; i < held_.size(); ++i) {
    const Held& held = held_[i];
    const std::string_view text = text_;
    sink_.CountHeld(text.substr(held.at, held.writtenLength),
                    text.substr(held.at + held.writtenLength, held.wordLength), held.weight);
  }
  if (first < held_.size()) text_.resize(held_[first].at);
  held_.resize(first);
}

}  // namespace tagwright
