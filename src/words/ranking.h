#pragma once

#include "words/ranked_word.h"

namespace tagwright {

/// Removes the entries counted fewer than `threshold` times, keeping the order of the rest.
/// A threshold of 1 (or less) leaves the table as it is.
void ApplyThresholdFrequency(RankedWords& words, int threshold);

/// Turns the key values into percent of the highest: value times 100 divided by the maximum,
/// computed in double precision and rounded once to single precision. Returns the maximum
/// before scaling (`sngMaxKeyValue`; 0 for an empty table).
float ScaleKeyValues(RankedWords& words);

}  // namespace tagwright
