#include "app/run_controller.h"

#include <QCoreApplication>
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
// The most text one report shows: the window's turn that appends it stays short however fast
// the scan finds words, and what is left waits for the next report.
constexpr qsizetype kReportChars = qsizetype{128} * 1024;

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
    shown_ = 0;
  }
  shownWords_ = 0;
  QEventLoop waiting;
  QTimer reports;
  connect(&reports, &QTimer::timeout, this, &RunController::Report);
  reports.start(kReportMs);

  RunResult result;
  std::thread scanning([this, &path, &result, &waiting] {
    try {
      result = RunScan(FileLines(path), analysis_, *this);
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
  // A completed scan's words give way to its result; otherwise they all stay shown, the rest
  // in report-sized steps with the window answering between them.
  if (result.outcome != RunOutcome::Completed) {
    while (!abandoned_ && Report()) QCoreApplication::processEvents();
  }
  return result;
}

void RunController::OnNewWord(std::string_view word, std::int64_t /*numWords*/) {
  const QString text = QString::fromUtf8(word.data(), static_cast<qsizetype>(word.size()));
  const std::lock_guard lock(mutex_);
  pending_ += text;
  pending_ += QLatin1Char(' ');
}

bool RunController::Report() {
  QString words;
  bool more = false;
  {
    const std::lock_guard lock(mutex_);
    qsizetype take = std::min(kReportChars, pending_.size() - shown_);
    if (shown_ + take < pending_.size()) {
      // Up to the blank after a word.
      const qsizetype blank = pending_.lastIndexOf(QLatin1Char(' '), shown_ + take - 1);
      if (blank >= shown_) take = blank + 1 - shown_;
    }
    words = pending_.mid(shown_, take);
    shown_ += take;
    more = shown_ < pending_.size();
    if (!more) {
      pending_.clear();
      shown_ = 0;
    } else if (shown_ > pending_.size() / 2) {
      // Shown text goes once it is most of the buffer: each character moves once at most.
      pending_.remove(0, shown_);
      shown_ = 0;
    }
  }
  if (words.isEmpty()) return more;
  // The count beside the box is that of the words in it.
  shownWords_ += words.count(QLatin1Char(' '));
  emit wordsFound(words, shownWords_);
  return more;
}

}  // namespace tagwright
