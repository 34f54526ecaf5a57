#include "scan/weight_context.h"

#include <algorithm>

namespace tagwright {

void WeightContext::CloseFont() {
  if (!fontSizeStack.empty()) {
    fontSize = fontSizeStack.back();
    fontSizeStack.pop_back();
  }
}

float WeightContext::Weight(const AnalysisSettings& settings, bool modern) const {
  float weight = 0;
  if (title) {
    weight = 48;
  } else if (metaDescription) {
    weight = 24;
  } else if (metaKeywords) {
    weight = 4.0f * static_cast<float>(settings.ExistingKeywordsWeight());
  }
  weight += static_cast<float>(fontSize + headingLevel);
  if (tableDepth > 0) weight += static_cast<float>(settings.TableWeight());
  if (bold) weight += static_cast<float>(settings.BoldWeight());
  // The modern reading: on a page with main or article, the text outside them is furniture
  // more often than not.
  if (pageHasMain && mainDepth == 0 && !title && !metaDescription && !metaKeywords && modern) {
    weight /= 2;
  }
  return std::max(weight, 1.0f);
}

WeightSplit WeightContext::Split(const AnalysisSettings& settings) const {
  // The same sum as Weight, kept apart by source.
  WeightSplit split{};
  const auto at = [&split](WeightSource source) -> float& {
    return split[static_cast<std::size_t>(source)];
  };
  const auto size = static_cast<float>(fontSize);
  if (title) {
    at(WeightSource::Title) = 48 + size;
  } else if (metaDescription) {
    at(WeightSource::Meta) = 24 + size;
  } else if (metaKeywords) {
    at(WeightSource::Meta) = 4.0f * static_cast<float>(settings.ExistingKeywordsWeight()) + size;
  } else {
    at(WeightSource::Body) = size;
  }
  at(WeightSource::Headings) = static_cast<float>(headingLevel);
  if (tableDepth > 0) at(WeightSource::Tables) = static_cast<float>(settings.TableWeight());
  if (bold) at(WeightSource::Bold) = static_cast<float>(settings.BoldWeight());
  float total = 0;
  for (const float part : split) total += part;
  if (total < 1.0f) at(WeightSource::Body) += 1.0f - total;
  return split;
}

}  // namespace tagwright
