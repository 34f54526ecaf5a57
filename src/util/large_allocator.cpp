#include "util/large_allocator.h"

#include <cstdint>
#include <cstdlib>
#include <utility>

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

// The large block freed last on this thread, kept for the next large block that fits it: a
// table freed just before the next is made (the word index before the ranked list) hands its
// memory on, where fresh memory would cost the kernel a clear of every page. One block at most,
// taken for a block of at least half its size.
struct SpareBlock {
  void* block = nullptr;
  std::size_t bytes = 0;  // rounded
  ~SpareBlock() { std::free(block); }
};
thread_local SpareBlock spare;

}  // namespace

void* AllocateLarge(std::size_t bytes) {
  if (bytes < kLarge) return ::operator new(bytes);
  if (spare.block != nullptr && spare.bytes >= Rounded(bytes) &&
      spare.bytes <= 2 * Rounded(bytes)) {
#if defined(__linux__)
    // The part beyond what is asked for goes back to the system.
    if (spare.bytes > Rounded(bytes)) {
      madvise(static_cast<char*>(spare.block) + Rounded(bytes), spare.bytes - Rounded(bytes),
              MADV_DONTNEED);
    }
#endif
    return std::exchange(spare.block, nullptr);
  }
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
    return;
  }
  std::free(spare.block);
  spare.block = block;
  spare.bytes = Rounded(bytes);
}

void AdviseHugePages(void* data, std::size_t bytes) noexcept {
#if defined(__linux__) && defined(MADV_HUGEPAGE)
  // The whole extents lie from the first 2 MiB boundary at or after `data` to the last at or
  // before its end.
  const auto address = reinterpret_cast<std::uintptr_t>(data);
  const std::size_t skipped = (kHugePage - address % kHugePage) % kHugePage;
  if (bytes <= skipped) return;
  const std::size_t whole = (bytes - skipped) / kHugePage * kHugePage;
  if (whole > 0) madvise(static_cast<char*>(data) + skipped, whole, MADV_HUGEPAGE);
#else
  (void)data;
  (void)bytes;
#endif
}

}  // namespace tagwright
