#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

#include "util/large_allocator.h"

namespace tagwright {

/// One entry of the word table in rank order: after a completed scan the key value is in
/// percent of the highest (0 to 100), before that it is the sum of the occurrence weights.
/// The word is a view into the word table it comes from, valid while that table is neither
/// changed nor gone.
struct RankedWord {
  std::string_view word;
  std::int64_t frequency = 0;
  float keyValue = 0;
};

// A long list is large enough for huge pages.
using RankedWords = std::vector<RankedWord, LargeAllocator<RankedWord>>;

/// A key value in percent of the highest (`sngMaxKeyValue`, above 0): value times 100 divided
/// by the highest, computed in double precision and rounded once to single precision.
inline float InPercentOf(float value, float highest) {
  return static_cast<float>(static_cast<double>(value) * 100.0 / static_cast<double>(highest));
}

}  // namespace tagwright
