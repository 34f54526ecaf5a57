#pragma once

#include <string>
#include <vector>

#include "scan/analysis.h"
#include "util/settings.h"

namespace tagwright::test {

/// The settings of the modern reading, the others as the window starts.
inline Settings ModernSettings() {
  Settings s;
  s.modernMarkup = true;
  return s;
}

/// Scans lines as the run does and reads back the unscaled word table.
struct Scan {
  Settings settings;
  ScanObserver observer;
  Analysis analysis{settings, observer};

  explicit Scan(const Settings& s = {}) : settings(s) { settings.ignoreShortWords = false; }

  /// Scans `lines` as a page's lines through the run's entry point (`head`: the page's
  /// beginning, from which the modern reading guesses its language).
  Scan& Lines(const std::vector<std::string>& lines, const std::string& head = {}) {
    RunScan(LineList(lines, head), analysis, observer);
    return *this;
  }
  /// Key value summed over the word's occurrences (0 when it was not counted). In the modern
  /// reading `word` is the form shown for the words merged under its stem.
  float Weight(const std::string& word) const { return Find(word).keyValue; }
  std::int64_t Frequency(const std::string& word) const { return Find(word).frequency; }
  RankedWord Find(const std::string& word) const {
    if (!settings.modernMarkup) return analysis.Table().Find(word);
    for (const RankedWord& counted : analysis.CountedWords()) {
      if (counted.word == word) return counted;
    }
    return {};
  }
};

}  // namespace tagwright::test
