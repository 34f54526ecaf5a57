#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace tagwright {

/// One entry of the word table in rank order: after a completed scan the key value is in
/// percent of the highest (0 to 100), before that it is the sum of the occurrence weights.
struct RankedWord {
  std::string word;
  std::int64_t frequency = 0;
  float keyValue = 0;
};

using RankedWords = std::vector<RankedWord>;

}  // namespace tagwright
