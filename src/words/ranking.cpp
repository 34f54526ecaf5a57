#include "words/ranking.h"

#include <vector>

namespace tagwright {

void ApplyThresholdFrequency(RankedWords& words, int threshold) {
  if (threshold <= 1) return;
  // Closes the gaps in one pass; the survivors keep their rank order.
  std::erase_if(words, [threshold](const RankedWord& w) { return w.frequency < threshold; });
}

float ScaleKeyValues(RankedWords& words) {
  float sngMaxKeyValue = 0;
  for (const RankedWord& w : words) {
    if (w.keyValue > sngMaxKeyValue) sngMaxKeyValue = w.keyValue;
  }
  // Every counted key value is at least 1; a table without a positive value has nothing to
  // scale against.
  if (sngMaxKeyValue <= 0) return sngMaxKeyValue;
  const double max = sngMaxKeyValue;
  for (RankedWord& w : words) {
    w.keyValue = static_cast<float>(static_cast<double>(w.keyValue) * 100.0 / max);
  }
  return sngMaxKeyValue;
}

}  // namespace tagwright
