#pragma once

#include <QObject>
#include <QString>

#include <atomic>
#include <cstdint>
#include <mutex>
#include <string>
#include <string_view>

#include "scan/analysis.h"
#include "scan/scan_observer.h"

class QEventLoop;

namespace tagwright {

/// Runs the scans of the window: owns the analysis, scans on a thread of its own while the
/// window goes on handling its events, reports the new words as they are found (about 30
/// times a second) and ends the scan at the next word after Stop or Quit.
class RunController final : public QObject, private ScanObserver {
  Q_OBJECT
 public:
  /// `settings` are read by the scanning thread at the moment of use, so they must be safe to
  /// read from another thread; they must outlive the controller.
  explicit RunController(const AnalysisSettings& settings, QObject* parent = nullptr);
  ~RunController() override;

  /// Scans `path` into the word table; returns when the scan has completed, stopped, failed
  /// or been abandoned. The window's events are handled meanwhile.
  RunResult Scan(const std::string& path);
  /// Stop (`blnStopRequested`): the running scan ends at the next word; its words are kept.
  void RequestStop() { stopRequested_ = true; }
  /// Quit: the running scan ends at the next word and reports nothing more; no later scan
  /// starts.
  void Abandon();
  bool Abandoned() const { return abandoned_; }

  /// The analysis of the last scan (not to be read while a scan runs).
  const Analysis& Result() const { return analysis_; }

 signals:
  /// Words found and not reported yet (at most a report's worth), each followed by a blank,
  /// and the number of words reported so far.
  void wordsFound(const QString& words, qint64 numWords);

 private:
  // Called on the scanning thread.
  void OnNewWord(std::string_view word, std::int64_t numWords) override;
  bool StopRequested() override { return stopRequested_ || abandoned_; }
  /// Reports words not reported yet, at most a report's worth (on the window's thread); true
  /// when more are waiting.
  bool Report();

  Analysis analysis_;
  std::atomic<bool> stopRequested_ = false;
  std::atomic<bool> abandoned_ = false;
  QEventLoop* waiting_ = nullptr;  // the loop that runs while a scan goes

  std::mutex mutex_;       // guards what the scan hands over
  QString pending_;        // words found and not yet taken by the window (from shown_ on)
  qsizetype shown_ = 0;    // what the window has taken of pending_
  qint64 shownWords_ = 0;  // the words reported in this scan (window's thread only)
};

}  // namespace tagwright
