// The state file tgw.usr (read at start, written at quit) and the default settings.

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>

#include "app/main_window.h"
#include "app/text_convert.h"
#include "util/state_file.h"

namespace tagwright {

bool MainWindow::LoadState() {
  const std::optional<StateValues> values = LoadStateFile(LocalPath(strStateFile_));
  if (!values) return false;
  const std::pair<QComboBox*, int> lists[] = {
      {cboShortWordSize_, values->shortWordSizeIndex},
      {cboThresholdFrequency_, values->thresholdFrequencyIndex},
      {cboTableWeight_, values->tableWeightIndex},
      {cboExistingKeywordsWeight_, values->existingKeywordsWeightIndex},
      {cboBoldWeight_, values->boldWeightIndex}};
  // An index beyond its list makes the whole file unusable; -1 leaves the list unchosen.
  for (const auto& [list, index] : lists) {
    if (index < -1 || index >= list->count()) return false;
  }
  txbInputFile_->setText(FromLocalPath(values->inputFile));
  txbBeginMetaTagWith_->setText(QString::fromStdString(values->beginWith));
  txbMaxNumKeywordsInMetaTag_->setText(QString::fromStdString(values->maxKeywords));
  txbMaxNumBytesInMetaTag_->setText(QString::fromStdString(values->maxBytes));
  for (const auto& [list, index] : lists) list->setCurrentIndex(index);
  SetCheckBoxValue(*chkIgnoreShortWords_, values->ignoreShortWords);
  SetCheckBoxValue(*chkIgnoreCommonWords_, values->ignoreCommonWords);
  return true;
}

void MainWindow::SaveState() {
  StateValues values;
  values.inputFile = LocalPath(txbInputFile_->text());
  values.beginWith = txbBeginMetaTagWith_->text().toStdString();
  values.maxKeywords = txbMaxNumKeywordsInMetaTag_->text().toStdString();
  values.maxBytes = txbMaxNumBytesInMetaTag_->text().toStdString();
  values.shortWordSizeIndex = cboShortWordSize_->currentIndex();
  values.thresholdFrequencyIndex = cboThresholdFrequency_->currentIndex();
  values.tableWeightIndex = cboTableWeight_->currentIndex();
  values.existingKeywordsWeightIndex = cboExistingKeywordsWeight_->currentIndex();
  values.boldWeightIndex = cboBoldWeight_->currentIndex();
  values.ignoreShortWords = CheckBoxValue(*chkIgnoreShortWords_);
  values.ignoreCommonWords = CheckBoxValue(*chkIgnoreCommonWords_);
  const std::string error = SaveStateFile(LocalPath(strStateFile_), values);
  if (!error.empty()) {
    Message(tr("Error when attempting to save the state: ") + QString::fromStdString(error),
            tr("Save state"), MessageIcon::Exclamation);
  }
}

void MainWindow::ResetSettings(bool blnKeepTexts) {
  blnAnalysisCurrent_ = false;
  if (!blnKeepTexts) {
    txbInputFile_->clear();
    txbBeginMetaTagWith_->clear();
  }
  const StateValues defaults;
  SetCheckBoxValue(*chkIgnoreShortWords_, defaults.ignoreShortWords);
  SetCheckBoxValue(*chkIgnoreCommonWords_, defaults.ignoreCommonWords);
  cboShortWordSize_->setCurrentIndex(defaults.shortWordSizeIndex);
  cboThresholdFrequency_->setCurrentIndex(defaults.thresholdFrequencyIndex);
  cboTableWeight_->setCurrentIndex(defaults.tableWeightIndex);
  cboExistingKeywordsWeight_->setCurrentIndex(defaults.existingKeywordsWeightIndex);
  cboBoldWeight_->setCurrentIndex(defaults.boldWeightIndex);
  txbMaxNumKeywordsInMetaTag_->setText(QString::number(kDefaultNumKeywords));
  txbMaxNumBytesInMetaTag_->setText(QString::number(kDefaultNumBytes));
}

void MainWindow::cmdReset_Click() { ResetSettings(true); }

}  // namespace tagwright
