#include "util/large_allocator.h"

#include <gtest/gtest.h>

#include <cstdint>
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

}  // namespace
}  // namespace tagwright
