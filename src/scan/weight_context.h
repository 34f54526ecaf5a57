#pragma once

#include <cstdint>
#include <vector>

#include "scan/weight_sources.h"
#include "util/settings.h"

namespace tagwright {

/// The weighting contexts in force where the scan stands (title, heading, bold text, tables,
/// description and keywords meta tags, font sizes, the page's main text) and the weight they
/// give a word there.
struct WeightContext {
  bool title = false;
  /// The weight of the open heading (h1 6 ... h6 1); 0 outside headings.
  int headingLevel = 0;
  bool bold = false;
  std::int64_t tableDepth = 0;
  bool metaDescription = false;
  bool metaKeywords = false;
  int fontSize = 3;
  /// The sizes that the open font tags saved, innermost last.
  std::vector<int> fontSizeStack;
  /// The modern reading: the page has a main or article element, and how deep in one the
  /// scan stands.
  bool pageHasMain = false;
  std::int64_t mainDepth = 0;

  /// Back to the contexts at the start of a page.
  void Reset() { *this = WeightContext(); }
  bool InMeta() const { return metaDescription || metaKeywords; }
  /// A font tag saves the size in force, with or without a size of its own.
  void OpenFont() { fontSizeStack.push_back(fontSize); }
  /// A closing font tag gives back the size saved last (none saved: the size stays).
  void CloseFont();

  /// The weight of one occurrence here (at least 1); `modern`: in the modern reading.
  float Weight(const AnalysisSettings& settings, bool modern) const;
  /// The same weight, before the modern reading halves it, split by where it comes from.
  WeightSplit Split(const AnalysisSettings& settings) const;
};

}  // namespace tagwright
