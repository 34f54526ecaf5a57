#include "scan/weight_sources.h"

namespace tagwright {

void WeightSourceRecorder::Add(std::string_view word, const WeightSplit& split) {
  auto found = words_.find(word);
  if (found == words_.end()) found = words_.emplace(std::string(word), WeightSplit{}).first;
  for (std::size_t i = 0; i < kWeightSourceCount; ++i) found->second[i] += split[i];
}

WeightSplit WeightSourceRecorder::Recorded(std::string_view word) const {
  const auto found = words_.find(word);
  return found == words_.end() ? WeightSplit{} : found->second;
}

}  // namespace tagwright
