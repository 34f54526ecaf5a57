#pragma once

#include <cstdint>
#include <string>

#include "util/settings_table.h"

namespace tagwright {

/// The analysis settings as the analysis reads them. The analysis asks at the moment of use
/// (for every word, every table tag), so a window can let the user change them mid-scan.
class AnalysisSettings {
 public:
  virtual ~AnalysisSettings() = default;
  virtual bool IgnoreCommonWords() const = 0;
  virtual bool IgnoreShortWords() const = 0;
  /// Words of this many letters or fewer are short (1 to 9).
  virtual int ShortWordSize() const = 0;
  /// Minimum frequency (1 to 9); 1 means no frequency filter.
  virtual int ThresholdFrequency() const = 0;
  /// Table weight (0 to 9); 0 means text inside tables is skipped.
  virtual int TableWeight() const = 0;
  /// Existing-keywords weight (0 to 9); 0 means the page's own keywords tag is not counted.
  virtual int ExistingKeywordsWeight() const = 0;
  /// Bold weight (1 to 9).
  virtual int BoldWeight() const = 0;
  /// The modern reading: tags with attributes, hidden content and navigation skipped, common
  /// words of the page's language, words in every script. Off reads pages the classic way.
  virtual bool ModernMarkup() const { return false; }
};

/// Plain settings values, initialised to the defaults.
struct Settings final : AnalysisSettings {
  bool ignoreCommonWords = kDefaultIgnoreCommonWords;
  bool ignoreShortWords = kDefaultIgnoreShortWords;
  int shortWordSize = kShortWordSize.defaultValue;
  int thresholdFrequency = kThresholdFrequency.defaultValue;
  int tableWeight = kTableWeight.defaultValue;
  int existingKeywordsWeight = kExistingKeywordsWeight.defaultValue;
  int boldWeight = kBoldWeight.defaultValue;
  bool modernMarkup = kDefaultModernMarkup;

  bool IgnoreCommonWords() const override { return ignoreCommonWords; }
  bool IgnoreShortWords() const override { return ignoreShortWords; }
  int ShortWordSize() const override { return shortWordSize; }
  int ThresholdFrequency() const override { return thresholdFrequency; }
  int TableWeight() const override { return tableWeight; }
  int ExistingKeywordsWeight() const override { return existingKeywordsWeight; }
  int BoldWeight() const override { return boldWeight; }
  bool ModernMarkup() const override { return modernMarkup; }
};

/// What shapes the meta tag without affecting the scan: the texts of the two limit boxes and
/// of "Begin meta tag with:", exactly as the user typed them.
struct MetaTagRequest {
  std::string maxKeywordsText = std::to_string(kDefaultNumKeywords);
  std::string maxBytesText = std::to_string(kDefaultNumBytes);
  std::string beginWithText;
};

}  // namespace tagwright
