#pragma once

#include <cstddef>
#include <vector>

#include "util/large_allocator.h"

namespace tagwright {

/// A growing array kept in blocks of 2 MiB, so that growing never copies what it holds nor
/// touches fresh memory twice: a vector that doubles copies each element about once more and
/// asks for nearly twice the memory while it grows. The first block grows as a vector does,
/// so that a small array takes no more room than one. Elements of a full block, and of every
/// block after the first, stay where they are.
template <typename T>
class BlockArray {
 public:
  static constexpr std::size_t kBlockSize = (std::size_t{2} << 20) / sizeof(T);
  static_assert((kBlockSize & (kBlockSize - 1)) == 0, "a block holds a power of two elements");

  std::size_t size() const { return size_; }
  bool empty() const { return size_ == 0; }

  T& operator[](std::size_t i) { return blocks_[i / kBlockSize][i % kBlockSize]; }
  const T& operator[](std::size_t i) const { return blocks_[i / kBlockSize][i % kBlockSize]; }

  void push_back(const T& value) {
    if (blocks_.empty() || blocks_.back().size() == kBlockSize) {
      blocks_.emplace_back();
      if (blocks_.size() > 1) blocks_.back().reserve(kBlockSize);
    }
    std::vector<T, LargeAllocator<T>>& block = blocks_.back();
    // Past an eighth, the first block takes its whole size at once: its memory comes in huge
    // pages from there on, and each of the last steps would take fresh ones.
    if (block.size() == block.capacity() && block.size() >= kBlockSize / 8) {
      block.reserve(kBlockSize);
    }
    block.push_back(value);
    ++size_;
  }

  /// Empties the array; the first block keeps its room for the next use.
  void clear() {
    if (blocks_.size() > 1) blocks_.resize(1);
    if (!blocks_.empty()) blocks_.front().clear();
    size_ = 0;
  }

 private:
  std::vector<std::vector<T, LargeAllocator<T>>> blocks_;
  std::size_t size_ = 0;
};

}  // namespace tagwright
