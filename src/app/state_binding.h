#pragma once

#include <QString>

#include "util/state_file.h"

class QCheckBox;
class QComboBox;
class QLineEdit;

namespace tagwright {

/// The window's controls that the state file remembers, and the defaults they take. Values
/// put into a list or a check box raise its change event as a user's change would.
class StateBinding {
 public:
  struct Controls {
    QLineEdit* txbInputFile;
    QLineEdit* txbBeginMetaTagWith;
    QLineEdit* txbMaxNumKeywordsInMetaTag;
    QLineEdit* txbMaxNumBytesInMetaTag;
    QComboBox* cboShortWordSize;
    QComboBox* cboThresholdFrequency;
    QComboBox* cboTableWeight;
    QComboBox* cboExistingKeywordsWeight;
    QComboBox* cboBoldWeight;
    QCheckBox* chkIgnoreShortWords;
    QCheckBox* chkIgnoreCommonWords;
    QCheckBox* chkModernMarkup;
  };
  explicit StateBinding(const Controls& controls);

  /// Puts remembered values into the controls, in the order the file holds them; false, with
  /// nothing changed, when a list index lies beyond its list.
  bool Apply(const StateValues& values) const;
  /// What the controls hold now.
  StateValues Values() const;
  /// The default settings (`ResetSettings`); with `keepTexts` false the input file and the
  /// phrases are emptied too.
  void ApplyDefaults(bool keepTexts) const;

 private:
  Controls c_;
};

/// Puts `text` into a limit box. The user types at most four characters, but a longer text
/// from the state file is kept whole (and shrinks back to the limit as it is edited).
void SetLimitText(QLineEdit& box, const QString& text);
/// Makes `box` a limit box: at most four characters as typed.
void MakeLimitBox(QLineEdit& box);

}  // namespace tagwright
