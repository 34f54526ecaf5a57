#include "app/run_controller.h"

#include <QCoreApplication>

#include <algorithm>
#include <exception>
#include <utility>

namespace tagwright {
namespace {

// Often enough that the window answers within a blink, seldom enough not to slow the scan.
constexpr qint64 kYieldMs = 5;
constexpr qint64 kReportMs = 33;

}  // namespace

RunController::RunController(const AnalysisSettings& settings, QObject* parent)
    : QObject(parent), analysis_(settings, *this) {}

RunController::~RunController() = default;

RunResult RunController::Scan(const std::string& path) {
  if (abandoned_) return {RunOutcome::Stopped, ""};
  stopRequested_ = false;
  pending_.clear();
  numWords_ = 0;
  reportInterval_ = 0;  // the first words are shown at the first chance
  sinceYield_.start();
  sinceReport_.start();
  RunResult result;
  try {
    result = RunScan(path, analysis_, *this);
  } catch (const std::exception& failure) {
    result = {RunOutcome::Failed, failure.what()};
  }
  // A completed scan's words give way to its result; otherwise they all stay shown.
  if (result.outcome != RunOutcome::Completed && !abandoned_) Report();
  return result;
}

void RunController::OnNewWord(std::string_view word, std::int64_t numWords) {
  pending_ += QString::fromUtf8(word.data(), static_cast<qsizetype>(word.size()));
  pending_ += QLatin1Char(' ');
  numWords_ = numWords;
}

void RunController::Report() {
  sinceReport_.restart();
  if (pending_.isEmpty()) return;
  QElapsedTimer cost;
  cost.start();
  const QString words = std::exchange(pending_, QString());
  emit wordsFound(words, numWords_);
  // Showing the words must stay a small share of the scan's time.
  reportInterval_ = std::max(kReportMs, 3 * cost.elapsed());
}

void RunController::OnYield() {
  if (abandoned_ || sinceYield_.elapsed() < kYieldMs) return;
  if (sinceReport_.elapsed() >= reportInterval_) Report();
  QCoreApplication::processEvents();
  sinceYield_.restart();
}

}  // namespace tagwright
