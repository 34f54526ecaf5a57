#pragma once

#include <string>
#include <vector>

#include "scan/analysis.h"
#include "util/settings.h"

namespace tagwright::test {

/// Scans lines as the run does and reads back the unscaled word table.
struct Scan {
  Settings settings;
  ScanObserver observer;
  Analysis analysis{settings, observer};

  explicit Scan(const Settings& s = {}) : settings(s) { settings.ignoreShortWords = false; }

  Scan& Lines(const std::vector<std::string>& lines) {
    analysis.Reset();
    for (const auto& line : lines) analysis.ScanDocumentLine(line);
    return *this;
  }
  /// Key value summed over the word's occurrences (0 when it was not counted).
  float Weight(const std::string& word) const { return analysis.Table().Find(word).keyValue; }
  std::int64_t Frequency(const std::string& word) const {
    return analysis.Table().Find(word).frequency;
  }
};

}  // namespace tagwright::test
