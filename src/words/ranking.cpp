#include "words/ranking.h"

#include <vector>

namespace tagwright {

void ApplyThresholdFrequency(RankedWords& words, int threshold) {
  if (threshold <= 1) return;
  // Closes the gaps in one pass; the survivors keep their rank order.
  std::erase_if(words, [threshold](const RankedWord& w) { return w.frequency < threshold; });
}

}  // namespace tagwright
