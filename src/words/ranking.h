#pragma once

#include "words/ranked_word.h"

namespace tagwright {

/// Removes the entries counted fewer than `threshold` times, keeping the order of the rest.
/// A threshold of 1 (or less) leaves the table as it is.
void ApplyThresholdFrequency(RankedWords& words, int threshold);

/// A key value in percent of the highest (`sngMaxKeyValue`, above 0): value times 100 divided
/// by the highest, computed in double precision and rounded once to single precision.
inline float InPercentOf(float value, float highest) {
  return static_cast<float>(static_cast<double>(value) * 100.0 / static_cast<double>(highest));
}

}  // namespace tagwright
