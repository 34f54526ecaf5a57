#pragma once

#include <atomic>

#include "util/settings.h"

class QCheckBox;
class QComboBox;

namespace tagwright {

/// The analysis settings read from the window's controls at each call, so a change made
/// during a scan counts from the next word on. A list without a chosen entry reads as its
/// default; a greyed check box reads as cleared.
class ControlSettings final : public AnalysisSettings {
 public:
  struct Controls {
    const QCheckBox* chkIgnoreCommonWords;
    const QCheckBox* chkIgnoreShortWords;
    const QComboBox* cboShortWordSize;
    const QComboBox* cboThresholdFrequency;
    const QComboBox* cboTableWeight;
    const QComboBox* cboExistingKeywordsWeight;
    const QComboBox* cboBoldWeight;
    const QCheckBox* chkModernMarkup;
  };
  explicit ControlSettings(const Controls& controls) : controls_(controls) {}

  bool IgnoreCommonWords() const override;
  bool IgnoreShortWords() const override;
  int ShortWordSize() const override;
  int ThresholdFrequency() const override;
  int TableWeight() const override;
  int ExistingKeywordsWeight() const override;
  int BoldWeight() const override;
  bool ModernMarkup() const override;

 private:
  Controls controls_;
};

/// The settings as a scan on another thread reads them: copied from the controls whenever
/// one changes, so a change made during a scan counts from the next word on.
class SharedSettings final : public AnalysisSettings {
 public:
  /// Takes the values that `from` reads now.
  void Take(const AnalysisSettings& from);

  bool IgnoreCommonWords() const override { return ignoreCommonWords_; }
  bool IgnoreShortWords() const override { return ignoreShortWords_; }
  int ShortWordSize() const override { return shortWordSize_; }
  int ThresholdFrequency() const override { return thresholdFrequency_; }
  int TableWeight() const override { return tableWeight_; }
  int ExistingKeywordsWeight() const override { return existingKeywordsWeight_; }
  int BoldWeight() const override { return boldWeight_; }
  bool ModernMarkup() const override { return modernMarkup_; }

 private:
  std::atomic<bool> ignoreCommonWords_ = kDefaultIgnoreCommonWords;
  std::atomic<bool> ignoreShortWords_ = kDefaultIgnoreShortWords;
  std::atomic<int> shortWordSize_ = kShortWordSize.defaultValue;
  std::atomic<int> thresholdFrequency_ = kThresholdFrequency.defaultValue;
  std::atomic<int> tableWeight_ = kTableWeight.defaultValue;
  std::atomic<int> existingKeywordsWeight_ = kExistingKeywordsWeight.defaultValue;
  std::atomic<int> boldWeight_ = kBoldWeight.defaultValue;
  std::atomic<bool> modernMarkup_ = kDefaultModernMarkup;
};

}  // namespace tagwright

namespace tagwright {

/// A check box's value as the state file keeps it: 0 clear, 1 set, 2 greyed.
int CheckBoxValue(const QCheckBox& box);
/// Sets a check box from its kept value (0, 1 or 2).
void SetCheckBoxValue(QCheckBox& box, int value);

}  // namespace tagwright
