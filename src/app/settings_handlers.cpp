// The analysis settings' handlers: changes that invalidate the analysis, and the checks of
// the two limit boxes when they are left.

#include <QLineEdit>

#include "app/limit_boxes.h"
#include "app/main_window.h"
#include "util/str_proc.h"

namespace tagwright {

// chkIgnoreCommonWords_Click, chkIgnoreShortWords_Click, cboShortWordSize_Click,
// cboThresholdFrequency_Click, cboTableWeight_Click, cboBoldWeight_Click and
// cboExistingKeywordsWeight_Click, all alike; the "Modern markup" box too.
void MainWindow::Setting_Click() {
  InvalidateAnalysis();
  scanSettings_.Take(*settings_);  // a running scan reads the change from its next word
  SetDefaultFocus();
}

void MainWindow::CheckLimitBox(QLineEdit* box, std::string (*check)(std::string&)) {
  std::string text = box->text().toStdString();
  FilterNumericText(text, false);
  box->setText(QString::fromStdString(text));
  const std::string message = check(text);
  if (message.empty()) return;
  Message(QString::fromStdString(message), QString(), MessageIcon::None);
  // The default is back: the user types again, the caret after its last character.
  box->setText(QString::fromStdString(text));
  box->setFocus(Qt::OtherFocusReason);
  box->setCursorPosition(static_cast<int>(box->text().size()));
}

void MainWindow::txbMaxNumKeywordsInMetaTag_LostFocus() {
  CheckLimitBox(txbMaxNumKeywordsInMetaTag_, &CheckMaxNumKeywords);
}

void MainWindow::txbMaxNumBytesInMetaTag_LostFocus() {
  CheckLimitBox(txbMaxNumBytesInMetaTag_, &CheckMaxNumBytes);
}

void MainWindow::cmdClearBeginMetaTagWith_Click() { txbBeginMetaTagWith_->clear(); }

}  // namespace tagwright
