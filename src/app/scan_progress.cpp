#include "app/scan_progress.h"

#include <QCoreApplication>
#include <QLabel>
#include <QPlainTextEdit>
#include <QTextCursor>

#include <algorithm>

#include "app/main_window.h"

namespace tagwright {
namespace {

// Often enough that the window answers within a blink, seldom enough not to slow the scan.
constexpr qint64 kYieldMs = 5;
constexpr qint64 kRepaintMs = 33;

}  // namespace

void ScanProgress::Start() {
  pending_.clear();
  numWords_ = 0;
  repaintInterval_ = 0;  // the first words are shown at the first chance
  sinceYield_.start();
  sinceRepaint_.start();
}

void ScanProgress::OnNewWord(std::string_view word, std::int64_t numWords) {
  pending_ += QString::fromUtf8(word.data(), static_cast<qsizetype>(word.size()));
  pending_ += QLatin1Char(' ');
  numWords_ = numWords;
}

void ScanProgress::Flush() {
  sinceRepaint_.restart();
  if (pending_.isEmpty()) return;
  QElapsedTimer cost;
  cost.start();
  QPlainTextEdit* box = window_.txbMetaTag_;
  QTextCursor end(box->document());
  end.movePosition(QTextCursor::End);
  end.insertText(pending_);
  pending_.clear();
  box->setTextCursor(end);  // the box shows its end, where the words arrive
  window_.lblNumberOfWords_->setText(QStringLiteral("Number of words found: %1").arg(numWords_));
  box->repaint();
  window_.lblNumberOfWords_->repaint();
  // Laying out a long box costs more as it grows: keep the repaints to a small share of the
  // scan's time.
  repaintInterval_ = std::max(kRepaintMs, 3 * cost.elapsed());
}

void ScanProgress::OnYield() {
  if (window_.blnEnding_ || sinceYield_.elapsed() < kYieldMs) return;
  if (sinceRepaint_.elapsed() >= repaintInterval_) Flush();
  QCoreApplication::processEvents();
  sinceYield_.restart();
}

bool ScanProgress::StopRequested() { return window_.blnStopRequested_ || window_.blnEnding_; }

}  // namespace tagwright
