#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QString>

#include <cstdint>
#include <string>
#include <string_view>

#include "scan/analysis.h"
#include "scan/scan_observer.h"

namespace tagwright {

/// Runs the scans of the window: owns the analysis, reports the new words as they are found
/// (at most about 30 times a second), lets the window handle its events every few
/// milliseconds while the scan goes, and ends the scan at the next word after Stop or Quit.
class RunController final : public QObject, private ScanObserver {
  Q_OBJECT
 public:
  /// `settings` are read at the moment of use and must outlive the controller.
  explicit RunController(const AnalysisSettings& settings, QObject* parent = nullptr);
  ~RunController() override;

  /// Scans `path` into the word table; returns when the scan has completed, stopped, failed
  /// or been abandoned. The window's events are handled meanwhile.
  RunResult Scan(const std::string& path);
  /// Stop (`blnStopRequested`): the running scan ends at the next word; its words are kept.
  void RequestStop() { stopRequested_ = true; }
  /// Quit: the running scan ends at once and reports nothing more; no later scan starts.
  void Abandon() { abandoned_ = true; }
  bool Abandoned() const { return abandoned_; }

  const Analysis& Result() const { return analysis_; }

 signals:
  /// Words found since the last report, each followed by a blank, and the count so far.
  void wordsFound(const QString& words, qint64 numWords);

 private:
  void OnNewWord(std::string_view word, std::int64_t numWords) override;
  void OnYield() override;
  bool StopRequested() override { return stopRequested_ || abandoned_; }
  /// Reports the words not reported yet.
  void Report();

  Analysis analysis_;
  bool stopRequested_ = false;
  bool abandoned_ = false;
  QString pending_;
  std::int64_t numWords_ = 0;
  QElapsedTimer sinceYield_;
  QElapsedTimer sinceReport_;
  qint64 reportInterval_ = 0;
};

}  // namespace tagwright
