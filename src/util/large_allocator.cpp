#include "util/large_allocator.h"

#include <cstdlib>

#if defined(__linux__)
#include <sys/mman.h>
#endif

namespace tagwright {
namespace {

constexpr std::size_t kHugePage = std::size_t{2} << 20;
// Below this a block is left to operator new. From here up, one huge page costs less time than
// the small page faults that it saves (a fault on each 4 KiB), though part of it may stay unused.
constexpr std::size_t kLarge = kHugePage / 8;

std::size_t Rounded(std::size_t bytes) { return (bytes + kHugePage - 1) / kHugePage * kHugePage; }

}  // namespace

void* AllocateLarge(std::size_t bytes) {
  if (bytes < kLarge) return ::operator new(bytes);
  void* block = std::aligned_alloc(kHugePage, Rounded(bytes));
  if (block == nullptr) throw std::bad_alloc();
#if defined(__linux__) && defined(MADV_HUGEPAGE)
  // Only advice: where the kernel has no huge pages, the block works as any other.
  madvise(block, Rounded(bytes), MADV_HUGEPAGE);
#endif
  return block;
}

void FreeLarge(void* block, std::size_t bytes) noexcept {
  if (bytes < kLarge) {
    ::operator delete(block);
  } else {
    std::free(block);
  }
}

}  // namespace tagwright
