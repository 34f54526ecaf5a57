#pragma once

#include <cstddef>
#include <new>

namespace tagwright {

/// Memory for one large array: blocks of 256 KiB or more are rounded up to whole 2 MiB,
/// aligned to 2 MiB and offered to the kernel for huge pages (Linux's transparent huge pages,
/// where the system leaves that to the program), so that reaching all over a large table
/// costs far fewer address-translation misses and page faults. Smaller blocks come from
/// operator new.
void* AllocateLarge(std::size_t bytes);
void FreeLarge(void* block, std::size_t bytes) noexcept;

/// Offers the whole 2 MiB extents within [data, data + bytes) to the kernel for huge pages, as
/// AllocateLarge does for its blocks: for a large buffer allocated elsewhere (a std::string that
/// holds a long line), before it is first written. Changes nothing but the cost of faults.
void AdviseHugePages(void* data, std::size_t bytes) noexcept;

/// An allocator for std::vector that takes its memory from AllocateLarge.
template <typename T>
struct LargeAllocator {
  using value_type = T;
  LargeAllocator() = default;
  template <typename U>
  explicit LargeAllocator(const LargeAllocator<U>&) noexcept {}
  T* allocate(std::size_t n) {
    if (n > static_cast<std::size_t>(-1) / sizeof(T)) throw std::bad_array_new_length();
    return static_cast<T*>(AllocateLarge(n * sizeof(T)));
  }
  void deallocate(T* block, std::size_t n) noexcept { FreeLarge(block, n * sizeof(T)); }
  template <typename U>
  bool operator==(const LargeAllocator<U>&) const noexcept {
    return true;
  }
};

}  // namespace tagwright
