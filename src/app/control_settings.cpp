#include "app/control_settings.h"

#include <QCheckBox>
#include <QComboBox>

namespace tagwright {
namespace {

// The lists hold the setting's numbers in ascending order; no chosen entry means the default.
int ListValue(const QComboBox* list, const NumberSetting& setting) {
  const int index = list->currentIndex();
  return index < 0 ? setting.defaultValue : setting.ValueAt(index);
}

}  // namespace

bool ControlSettings::IgnoreCommonWords() const {
  return controls_.chkIgnoreCommonWords->checkState() == Qt::Checked;
}

bool ControlSettings::IgnoreShortWords() const {
  return controls_.chkIgnoreShortWords->checkState() == Qt::Checked;
}

int ControlSettings::ShortWordSize() const {
  return ListValue(controls_.cboShortWordSize, kShortWordSize);
}

int ControlSettings::ThresholdFrequency() const {
  return ListValue(controls_.cboThresholdFrequency, kThresholdFrequency);
}

int ControlSettings::TableWeight() const {
  return ListValue(controls_.cboTableWeight, kTableWeight);
}

int ControlSettings::ExistingKeywordsWeight() const {
  return ListValue(controls_.cboExistingKeywordsWeight, kExistingKeywordsWeight);
}

int ControlSettings::BoldWeight() const { return ListValue(controls_.cboBoldWeight, kBoldWeight); }

bool ControlSettings::ModernMarkup() const { return controls_.chkModernMarkup->isChecked(); }

void SharedSettings::Take(const AnalysisSettings& from) {
  ignoreCommonWords_ = from.IgnoreCommonWords();
  ignoreShortWords_ = from.IgnoreShortWords();
  shortWordSize_ = from.ShortWordSize();
  thresholdFrequency_ = from.ThresholdFrequency();
  tableWeight_ = from.TableWeight();
  existingKeywordsWeight_ = from.ExistingKeywordsWeight();
  boldWeight_ = from.BoldWeight();
  modernMarkup_ = from.ModernMarkup();
}

}  // namespace tagwright

namespace tagwright {

int CheckBoxValue(const QCheckBox& box) {
  switch (box.checkState()) {
    case Qt::Checked:
      return 1;
    case Qt::PartiallyChecked:
      return 2;
    default:
      return 0;
  }
}

void SetCheckBoxValue(QCheckBox& box, int value) {
  // Only a greyed value makes the box three-state; the user's next click leaves that state.
  box.setCheckState(value == 2 ? Qt::PartiallyChecked : value == 1 ? Qt::Checked : Qt::Unchecked);
}

}  // namespace tagwright
