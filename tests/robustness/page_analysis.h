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

/// The outcome of a whole analysis of one page.
struct PageAnalysis {
  RunResult result;
  WordTable table;     // as counted, unscaled
  RankedWords ranked;  // after the minimum frequency and the scaling
  CountingObserver observer;

  /// Unscaled key value and frequency of `word` (0 when it was not counted).
  float Weight(std::string_view word) const { return table.Find(word).keyValue; }
  std::int64_t Frequency(std::string_view word) const { return table.Find(word).frequency; }
};

/// Writes `page` to a file and analyses it as a run does.
inline PageAnalysis AnalysePage(std::string_view page, const Settings& settings = {}) {
  TempDir dir;
  PageAnalysis out;
  Analysis analysis(settings, out.observer);
  out.result = RunScan(dir.Write("page.html", page), analysis, out.observer);
  out.table = analysis.Table();
  out.ranked = analysis.Ranked();
  return out;
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
