#include "app/state_binding.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>

#include <algorithm>
#include <utility>

#include "app/control_settings.h"
#include "app/text_convert.h"

namespace tagwright {

StateBinding::StateBinding(const Controls& controls) : c_(controls) {}

bool StateBinding::Apply(const StateValues& v) const {
  const std::pair<QComboBox*, int> lists[] = {
      {c_.cboShortWordSize, v.shortWordSizeIndex},
      {c_.cboThresholdFrequency, v.thresholdFrequencyIndex},
      {c_.cboTableWeight, v.tableWeightIndex},
      {c_.cboExistingKeywordsWeight, v.existingKeywordsWeightIndex},
      {c_.cboBoldWeight, v.boldWeightIndex}};
  // An index beyond its list makes the whole file unusable; -1 leaves the list unchosen.
  for (const auto& [list, index] : lists) {
    if (index < -1 || index >= list->count()) return false;
  }
  c_.txbInputFile->setText(FromLocalPath(v.inputFile));
  c_.txbBeginMetaTagWith->setText(QString::fromStdString(v.beginWith));
  SetLimitText(*c_.txbMaxNumKeywordsInMetaTag, QString::fromStdString(v.maxKeywords));
  SetLimitText(*c_.txbMaxNumBytesInMetaTag, QString::fromStdString(v.maxBytes));
  for (const auto& [list, index] : lists) list->setCurrentIndex(index);
  SetCheckBoxValue(*c_.chkIgnoreShortWords, v.ignoreShortWords);
  SetCheckBoxValue(*c_.chkIgnoreCommonWords, v.ignoreCommonWords);
  c_.chkModernMarkup->setChecked(v.modernMarkup);
  return true;
}

StateValues StateBinding::Values() const {
  StateValues v;
  v.inputFile = LocalPath(c_.txbInputFile->text());
  v.beginWith = c_.txbBeginMetaTagWith->text().toStdString();
  v.maxKeywords = c_.txbMaxNumKeywordsInMetaTag->text().toStdString();
  v.maxBytes = c_.txbMaxNumBytesInMetaTag->text().toStdString();
  v.shortWordSizeIndex = c_.cboShortWordSize->currentIndex();
  v.thresholdFrequencyIndex = c_.cboThresholdFrequency->currentIndex();
  v.tableWeightIndex = c_.cboTableWeight->currentIndex();
  v.existingKeywordsWeightIndex = c_.cboExistingKeywordsWeight->currentIndex();
  v.boldWeightIndex = c_.cboBoldWeight->currentIndex();
  v.ignoreShortWords = CheckBoxValue(*c_.chkIgnoreShortWords);
  v.ignoreCommonWords = CheckBoxValue(*c_.chkIgnoreCommonWords);
  v.modernMarkup = c_.chkModernMarkup->isChecked();
  return v;
}

void StateBinding::ApplyDefaults(bool keepTexts) const {
  if (!keepTexts) {
    c_.txbInputFile->clear();
    c_.txbBeginMetaTagWith->clear();
  }
  const StateValues defaults;
  SetCheckBoxValue(*c_.chkIgnoreShortWords, defaults.ignoreShortWords);
  SetCheckBoxValue(*c_.chkIgnoreCommonWords, defaults.ignoreCommonWords);
  c_.cboShortWordSize->setCurrentIndex(defaults.shortWordSizeIndex);
  c_.cboThresholdFrequency->setCurrentIndex(defaults.thresholdFrequencyIndex);
  c_.cboTableWeight->setCurrentIndex(defaults.tableWeightIndex);
  c_.cboExistingKeywordsWeight->setCurrentIndex(defaults.existingKeywordsWeightIndex);
  c_.cboBoldWeight->setCurrentIndex(defaults.boldWeightIndex);
  SetLimitText(*c_.txbMaxNumKeywordsInMetaTag, QString::fromStdString(defaults.maxKeywords));
  SetLimitText(*c_.txbMaxNumBytesInMetaTag, QString::fromStdString(defaults.maxBytes));
  c_.chkModernMarkup->setChecked(defaults.modernMarkup);
}

void SetLimitText(QLineEdit& box, const QString& text) {
  box.setMaxLength(std::max(kLimitBoxLength, static_cast<int>(text.size())));
  box.setText(text);
}

void MakeLimitBox(QLineEdit& box) {
  box.setMaxLength(kLimitBoxLength);
  // A long remembered text shrinks the room back to the limit as characters go.
  QObject::connect(&box, &QLineEdit::textChanged, &box, [&box](const QString& text) {
    const int room = std::max(kLimitBoxLength, static_cast<int>(text.size()));
    if (room < box.maxLength()) box.setMaxLength(room);
  });
}

}  // namespace tagwright
