// The two runs ("List words" and "Generate keywords meta tag") with Stop, the reuse of a
// current analysis, and "Show existing  keywords".

#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>

#include <exception>

#include "app/main_window.h"
#include "app/result_box.h"
#include "app/text_convert.h"
#include "output/meta_tag.h"
#include "output/word_list.h"
#include "scan/existing_tag.h"
#include "util/file_proc.h"
#include "util/str_proc.h"

namespace tagwright {

void MainWindow::cmdListWords_Click() {
  if (cmdListWords_->text() == tr("Sto&p")) {
    run_->RequestStop();  // the suspended scan ends at its next word
    return;
  }
  RunAnalysis(false);
}

void MainWindow::cmdGenerateKeywordMetaTag_Click() { RunAnalysis(true); }

void MainWindow::EnableCommands(bool enabled) {
  for (QPushButton* button :
       {cmdInputFile_, cmdShowExistingKeywordMetaTag_, cmdGenerateKeywordMetaTag_,
        cmdClearInputFile_, cmdReset_, cmdClearBeginMetaTagWith_, cmdHelp_, cmdCopyToClipboard_}) {
    button->setEnabled(enabled);
  }
  // Not one of the eight: a report is of a finished run, so it waits for the scan too.
  cmdSaveReport_->setEnabled(enabled);
}

bool MainWindow::CheckInputBeforeReading() {
  const std::string path = std::string(TrimBlanks(txbInputFile_->text().toStdString()));
  txbInputFile_->setText(QString::fromStdString(path));
  if (path.empty()) {
    Message(QString::fromUtf8(kInputFileNotSpecified), tr("Error"), MessageIcon::Exclamation);
    return false;
  }
  // A name that the box's own check turns away is never read, however it got there (typed,
  // remembered, or named on the command line).
  const FileSpecCheck check = CheckInputFileSpec(LocalPath(txbInputFile_->text()));
  if (check == FileSpecCheck::BadForm || check == FileSpecCheck::BadExtension) {
    FileSpecMessageBox(check);
    return false;
  }
  if (check == FileSpecCheck::NotFound) {
    Message(QString::fromUtf8(kInputFileNotFound), tr("File not found"), MessageIcon::Exclamation);
    return false;
  }
  return true;
}

void MainWindow::SetResultText(const std::string& text) {
  txbMetaTag_->setPlainText(ToBoxText(text));
}

void MainWindow::RunAnalysis(bool generate) {
  if (!analysisCurrent_ && !ScanInputFile()) return;
  try {
    ShowResult(generate);
  } catch (const std::exception& failure) {
    Message(QString::fromUtf8(failure.what()), tr("Error"), MessageIcon::Exclamation);
    return;
  }
  SetDefaultFocus();
}

bool MainWindow::ScanInputFile() {
  analysisCurrent_ = false;
  if (!CheckInputBeforeReading()) return false;

  txbMetaTag_->clear();
  txbMetaTag_->repaint();
  // The buttons about to be disabled hand the focus to Stop rather than to the next box.
  if (QWidget* focus = focusWidget();
      focus && focus != cmdListWords_ && qobject_cast<QPushButton*>(focus) != nullptr) {
    cmdListWords_->setFocus(Qt::OtherFocusReason);
  }
  cmdListWords_->setText(tr("Sto&p"));
  EnableCommands(false);

  scanSettings_.Take(*settings_);
  const unsigned invalidationsBefore = scanInvalidations_;
  const RunResult result = run_->Scan(LocalPath(txbInputFile_->text()));
  // Quit during the scan: the state is saved and the program is ending; nothing more runs.
  if (ending_) return false;
  cmdListWords_->setText(tr("&List words"));
  EnableCommands(true);

  if (result.outcome == RunOutcome::Failed) {
    Message(QString::fromStdString(result.error), tr("Error"), MessageIcon::Exclamation);
    return false;
  }
  if (result.outcome == RunOutcome::Stopped) {
    AppendToEnd(*txbMetaTag_, QStringLiteral("\nStopped with %1 words identified.")
                                  .arg(run_->Result().Table().WordCount()));
    ShowNumberOfWords(QString());
    return false;
  }
  txbMetaTag_->setPlainText(QStringLiteral("Processing "));
  txbMetaTag_->repaint();
  ShowNumberOfWords(
      QStringLiteral("Number of words found: %1").arg(run_->Result().Ranked().size()));
  lblNumberOfWords_->repaint();
  // A setting changed while the page was read: this result is shown, but the next run
  // reads the page again.
  analysisCurrent_ = scanInvalidations_ == invalidationsBefore;
  return true;
}

void MainWindow::ShowFoundWords(const QString& words, qint64 numWords) {
  AppendWords(*txbMetaTag_, words);
  ShowNumberOfWords(QStringLiteral("Number of words found: %1").arg(numWords));
  txbMetaTag_->repaint();
  lblNumberOfWords_->repaint();
}

void MainWindow::ShowResult(bool generate) {
  const RankedWords& words = run_->Result().Ranked();
  if (!generate) {
    SetResultText(ShowWordList(words, *settings_));
    return;
  }
  MetaTagRequest request;
  request.maxKeywordsText = txbMaxNumKeywordsInMetaTag_->text().toStdString();
  request.maxBytesText = txbMaxNumBytesInMetaTag_->text().toStdString();
  request.beginWithText = txbBeginMetaTagWith_->text().toStdString();
  const MetaTag tag = GenerateMetaTag(words, request, *settings_);
  SetResultText(tag.text);
  const QString beginWith = QString::fromStdString(tag.beginWithText);
  if (beginWith != txbBeginMetaTagWith_->text()) txbBeginMetaTagWith_->setText(beginWith);
}

void MainWindow::cmdShowExistingKeywordMetaTag_Click() {
  if (!CheckInputBeforeReading()) return;
  SetResultText(
      ShowExistingKeywordMetaTag(LocalPath(txbInputFile_->text()), settings_->ModernMarkup()));
}

}  // namespace tagwright
