// The two runs ("List words" and "Generate keywords meta tag") with Stop, the reuse of a
// current analysis, and "Show existing  keywords".

#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextCursor>

#include <exception>

#include "app/main_window.h"
#include "app/text_convert.h"
#include "output/meta_tag.h"
#include "output/word_list.h"
#include "scan/existing_tag.h"
#include "util/file_proc.h"
#include "util/str_proc.h"

namespace tagwright {

void MainWindow::cmdListWords_Click() {
  if (cmdListWords_->text() == QLatin1String("Stop")) {
    blnStopRequested_ = true;  // the suspended scan ends after its current line
    return;
  }
  RunAnalysis(false);
}

void MainWindow::cmdGenerateKeywordMetaTag_Click() { RunAnalysis(true); }

void MainWindow::EnableCommands(bool blnEnabled) {
  for (QPushButton* button :
       {cmdInputFile_, cmdShowExistingKeywordMetaTag_, cmdGenerateKeywordMetaTag_,
        cmdClearInputFile_, cmdReset_, cmdClearBeginMetaTagWith_, cmdHelp_, cmdCopyToClipboard_}) {
    button->setEnabled(blnEnabled);
  }
}

bool MainWindow::CheckInputBeforeReading() {
  const std::string path = std::string(TrimBlanks(txbInputFile_->text().toStdString()));
  txbInputFile_->setText(QString::fromStdString(path));
  if (path.empty()) {
    Message(QString::fromUtf8(kInputFileNotSpecified), tr("Error"), MessageIcon::Exclamation);
    return false;
  }
  if (!FileExists(LocalPath(txbInputFile_->text()))) {
    Message(QString::fromUtf8(kInputFileNotFound), tr("File not found"), MessageIcon::Exclamation);
    return false;
  }
  return true;
}

void MainWindow::SetResultText(const std::string& text) {
  txbMetaTag_->setPlainText(ToBoxText(text));
}

void MainWindow::RunAnalysis(bool blnGenerate) {
  if (!blnAnalysisCurrent_ && !ScanInputFile()) return;
  try {
    ShowResult(blnGenerate);
  } catch (const std::exception& failure) {
    Message(QString::fromUtf8(failure.what()), tr("Error"), MessageIcon::Exclamation);
    return;
  }
  SetDefaultFocus();
}

bool MainWindow::ScanInputFile() {
  blnAnalysisCurrent_ = false;
  if (!CheckInputBeforeReading()) return false;

  blnStopRequested_ = false;
  txbMetaTag_->clear();
  txbMetaTag_->repaint();
  // The buttons about to be disabled hand the focus to Stop rather than to the next box.
  if (QWidget* focus = focusWidget();
      focus && focus != cmdListWords_ && qobject_cast<QPushButton*>(focus) != nullptr) {
    cmdListWords_->setFocus(Qt::OtherFocusReason);
  }
  cmdListWords_->setText(tr("Stop"));
  EnableCommands(false);

  progress_->Start();
  RunResult result;
  try {
    result = RunScan(LocalPath(txbInputFile_->text()), *analysis_, *progress_);
  } catch (const std::exception& failure) {
    result = {RunOutcome::Failed, failure.what()};
  }
  // Quit during the scan: the state is saved and the program is ending; nothing more runs.
  if (blnEnding_) return false;
  // A completed scan's words give way to its result; otherwise the box keeps them all.
  if (result.outcome != RunOutcome::Completed) progress_->Flush();
  cmdListWords_->setText(tr("List words"));
  EnableCommands(true);

  if (result.outcome == RunOutcome::Failed) {
    Message(QString::fromStdString(result.error), tr("Error"), MessageIcon::Exclamation);
    return false;
  }
  if (result.outcome == RunOutcome::Stopped) {
    QTextCursor end(txbMetaTag_->document());
    end.movePosition(QTextCursor::End);
    end.insertText(QStringLiteral("\nStopped with %1 words identified.")
                       .arg(analysis_->Table().intNumWords()));
    txbMetaTag_->setTextCursor(end);
    lblNumberOfWords_->clear();
    return false;
  }
  txbMetaTag_->setPlainText(QStringLiteral("Processing "));
  txbMetaTag_->repaint();
  lblNumberOfWords_->setText(
      QStringLiteral("Number of words found: %1").arg(analysis_->Ranked().size()));
  lblNumberOfWords_->repaint();
  blnAnalysisCurrent_ = true;
  return true;
}

void MainWindow::ShowResult(bool blnGenerate) {
  if (!blnGenerate) {
    SetResultText(ShowWordList(analysis_->Ranked(), *settings_));
    return;
  }
  MetaTagRequest request;
  request.maxKeywordsText = txbMaxNumKeywordsInMetaTag_->text().toStdString();
  request.maxBytesText = txbMaxNumBytesInMetaTag_->text().toStdString();
  request.beginWithText = txbBeginMetaTagWith_->text().toStdString();
  const MetaTag tag = GenerateMetaTag(analysis_->Ranked(), request, *settings_);
  SetResultText(tag.text);
  const QString beginWith = QString::fromStdString(tag.beginWithText);
  if (beginWith != txbBeginMetaTagWith_->text()) txbBeginMetaTagWith_->setText(beginWith);
}

void MainWindow::cmdShowExistingKeywordMetaTag_Click() {
  if (!CheckInputBeforeReading()) return;
  SetResultText(ShowExistingKeywordMetaTag(LocalPath(txbInputFile_->text())));
}

}  // namespace tagwright
