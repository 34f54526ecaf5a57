#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "scan/analysis.h"
#include "support/temp_dir.h"
#include "util/settings.h"

namespace tagwright::test {

/// Counts what a scan reports.
struct CountingObserver : ScanObserver {
  std::int64_t newWords = 0;
  std::int64_t lastCount = 0;
  std::int64_t yields = 0;
  void OnNewWord(std::string_view, std::int64_t numWords) override {
    ++newWords;
    lastCount = numWords;
  }
  void OnYield() override { ++yields; }
};

/// The outcome of a whole analysis of one page. It keeps the analysis, which its ranked
/// words point into, so it is neither copied nor moved.
struct PageAnalysis {
  /// Writes `page` to a file and analyses it as a run does.
  PageAnalysis(std::string_view page, const Settings& used) : settings(used) {
    TempDir dir;
    result = RunScan(FileLines(dir.Write("page.html", page)), analysis, observer);
  }
  PageAnalysis(const PageAnalysis&) = delete;
  PageAnalysis& operator=(const PageAnalysis&) = delete;

  /// Unscaled key value and frequency of `word` (0 when it was not counted).
  float Weight(std::string_view word) const { return table.Find(word).keyValue; }
  std::int64_t Frequency(std::string_view word) const { return table.Find(word).frequency; }

  const Settings settings;
  CountingObserver observer;
  Analysis analysis{settings, observer};
  RunResult result;
  const WordTable& table = analysis.Table();      // as counted, unscaled
  const RankedWords& ranked = analysis.Ranked();  // after the minimum frequency and the scaling
};

/// The analysis of `page` with `settings`.
inline PageAnalysis AnalysePage(std::string_view page, const Settings& settings = {}) {
  return PageAnalysis(page, settings);
}

/// Settings that keep every word that passes the fixed filters, however rare.
inline Settings KeepAll() {
  Settings settings;
  settings.thresholdFrequency = 1;
  return settings;
}

/// `piece` written `times` times.
inline std::string Repeat(std::string_view piece, std::size_t times) {
  std::string out;
  out.reserve(piece.size() * times);
  for (std::size_t i = 0; i < times; ++i) out += piece;
  return out;
}

}  // namespace tagwright::test
