#pragma once

#include <QElapsedTimer>
#include <QString>

#include <cstdint>
#include <string_view>

#include "scan/scan_observer.h"

namespace tagwright {

class MainWindow;

/// The window's side of a scan: shows the new words in the result box and their count in the
/// label as they come (repainted at most about 30 times a second), lets the window handle its
/// events every few milliseconds, and tells the scan when Stop or Quit was clicked.
class ScanProgress final : public ScanObserver {
 public:
  explicit ScanProgress(MainWindow& window) : window_(window) {}

  /// Before a scan: nothing pending, the clocks started.
  void Start();
  /// Shows the words that have not been shown yet.
  void Flush();

  void OnNewWord(std::string_view word, std::int64_t numWords) override;
  void OnYield() override;
  bool StopRequested() override;

 private:
  MainWindow& window_;
  QString pending_;
  std::int64_t numWords_ = 0;
  QElapsedTimer sinceYield_;
  QElapsedTimer sinceRepaint_;
  qint64 repaintInterval_ = 0;
};

}  // namespace tagwright
