#include "util/large_allocator.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <vector>

namespace tagwright {
namespace {

TEST(LargeAllocator, SmallAndLargeBlocksHoldTheirValuesAsTheyGrow) {
  // Growing one element at a time passes from blocks of operator new to large aligned ones
  // and back to free: every value must survive each move.
  std::vector<std::uint64_t, LargeAllocator<std::uint64_t>> values;
  constexpr std::uint64_t kCount = std::uint64_t{3} << 20;  // 24 MiB
  for (std::uint64_t i = 0; i < kCount; ++i) values.push_back(i * 7);
  EXPECT_EQ(reinterpret_cast<std::uintptr_t>(values.data()) % (std::uintptr_t{2} << 20), 0u);
  std::uint64_t wrong = 0;
  for (std::uint64_t i = 0; i < kCount; ++i) wrong += values[i] != i * 7;
  EXPECT_EQ(wrong, 0u);
  values.clear();
  values.shrink_to_fit();
  values.assign(10, 1);
  EXPECT_EQ(values.back(), 1u);
}

TEST(LargeAllocator, AFreedBlockServesTheNextThatFitsIt) {
  constexpr std::size_t kMiB = std::size_t{1} << 20;
  void* first = AllocateLarge(8 * kMiB);
  FreeLarge(first, 8 * kMiB);
  // Too large for it: a block of its own. Half its size or more: the freed block, whose
  // memory beyond the size asked for is given back and stays usable.
  void* larger = AllocateLarge(10 * kMiB);
  EXPECT_NE(larger, first);
  void* smaller = AllocateLarge(5 * kMiB);
  EXPECT_EQ(smaller, first);
  std::memset(smaller, 0x5A, 5 * kMiB);
  EXPECT_EQ(static_cast<unsigned char*>(smaller)[5 * kMiB - 1], 0x5A);
  FreeLarge(smaller, 5 * kMiB);
  FreeLarge(larger, 10 * kMiB);
  // A quarter of the kept block is too little to take it.
  void* small = AllocateLarge(2 * kMiB);
  EXPECT_NE(small, larger);
  FreeLarge(small, 2 * kMiB);
}

}  // namespace
}  // namespace tagwright
