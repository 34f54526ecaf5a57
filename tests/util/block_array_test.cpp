#include "util/block_array.h"

#include <gtest/gtest.h>

#include <cstdint>

namespace tagwright {
namespace {

TEST(BlockArray, HoldsItsValuesInPlaceAcrossBlocksAndAfterClear) {
  BlockArray<std::uint64_t> values;
  constexpr std::uint64_t kCount = 3 * BlockArray<std::uint64_t>::kBlockSize + 5;
  constexpr std::uint64_t kFull = BlockArray<std::uint64_t>::kBlockSize;
  const std::uint64_t* lastOfFirst = nullptr;
  const std::uint64_t* firstOfSecond = nullptr;
  for (std::uint64_t i = 0; i < kCount; ++i) {
    values.push_back(i * 7);
    if (i == kFull - 1) lastOfFirst = &values[i];
    if (i == kFull) firstOfSecond = &values[i];
  }
  ASSERT_EQ(values.size(), kCount);
  // The first block grows as a vector does, so its elements move until it is full; once a
  // block is full, or begun after the first, nothing in it moves.
  EXPECT_EQ(&values[kFull - 1], lastOfFirst);
  EXPECT_EQ(&values[kFull], firstOfSecond);
  std::uint64_t wrong = 0;
  for (std::uint64_t i = 0; i < kCount; ++i) wrong += values[i] != i * 7;
  EXPECT_EQ(wrong, 0u);

  values.clear();
  EXPECT_TRUE(values.empty());
  values.push_back(42);
  values.push_back(43);
  EXPECT_EQ(values.size(), 2u);
  EXPECT_EQ(values[1], 43u);
}

}  // namespace
}  // namespace tagwright
