#include "app/run_controller.h"

#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>

#include <algorithm>
#include <exception>
#include <thread>
#include <utility>

namespace tagwright {
namespace {

// Often enough to watch the words come, seldom enough not to slow the scan.
constexpr int kReportMs = 33;

}  // namespace

RunController::RunController(const AnalysisSettings& settings, QObject* parent)
    : QObject(parent), analysis_(settings, *this) {}

RunController::~RunController() = default;

void RunController::Abandon() {
  abandoned_ = true;
  if (waiting_ != nullptr) waiting_->quit();
}

RunResult RunController::Scan(const std::string& path) {
  if (abandoned_) return {RunOutcome::Stopped, ""};
  stopRequested_ = false;
  {
    const std::lock_guard lock(mutex_);
    pending_.clear();
    numWords_ = 0;
  }
  QEventLoop waiting;
  QTimer reports;
  connect(&reports, &QTimer::timeout, this, [this, &reports] {
    QElapsedTimer cost;
    cost.start();
    Report();
    // Showing the words must stay a small share of the time.
    reports.setInterval(std::max<int>(kReportMs, static_cast<int>(3 * cost.elapsed())));
  });
  reports.start(kReportMs);

  RunResult result;
  std::thread scanning([this, &path, &result, &waiting] {
    try {
      result = RunScan(path, analysis_, *this);
    } catch (const std::exception& failure) {
      result = {RunOutcome::Failed, failure.what()};
    } catch (...) {
      result = {RunOutcome::Failed, "The analysis failed."};
    }
    QMetaObject::invokeMethod(&waiting, "quit", Qt::QueuedConnection);
  });
  waiting_ = &waiting;
  waiting.exec();
  waiting_ = nullptr;
  // After Quit the scan ends at its next word; it is not left running on its own.
  scanning.join();
  reports.stop();
  // A completed scan's words give way to its result; otherwise they all stay shown.
  if (result.outcome != RunOutcome::Completed && !abandoned_) Report();
  return result;
}

void RunController::OnNewWord(std::string_view word, std::int64_t numWords) {
  const QString text = QString::fromUtf8(word.data(), static_cast<qsizetype>(word.size()));
  const std::lock_guard lock(mutex_);
  pending_ += text;
  pending_ += QLatin1Char(' ');
  numWords_ = numWords;
}

void RunController::Report() {
  QString words;
  std::int64_t numWords = 0;
  {
    const std::lock_guard lock(mutex_);
    words = std::exchange(pending_, QString());
    numWords = numWords_;
  }
  if (!words.isEmpty()) emit wordsFound(words, numWords);
}

}  // namespace tagwright
