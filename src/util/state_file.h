#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "util/settings_table.h"

namespace tagwright {

/// The remembered values, as the controls hold them.
struct StateValues {
  std::string inputFile;
  std::string beginWith;
  std::string maxKeywords = std::to_string(kDefaultNumKeywords);
  std::string maxBytes = std::to_string(kDefaultNumBytes);
  int shortWordSizeIndex = kShortWordSize.DefaultIndex();  // list indexes; -1: none chosen
  int thresholdFrequencyIndex = kThresholdFrequency.DefaultIndex();
  int tableWeightIndex = kTableWeight.DefaultIndex();
  int existingKeywordsWeightIndex = kExistingKeywordsWeight.DefaultIndex();
  int boldWeightIndex = kBoldWeight.DefaultIndex();
  int ignoreShortWords = kDefaultIgnoreShortWords ? 1 : 0;  // check boxes: 0, 1 or 2 (greyed)
  int ignoreCommonWords = kDefaultIgnoreCommonWords ? 1 : 0;
  /// The twelfth item, which files from before it lack: then it is off.
  bool modernMarkup = kDefaultModernMarkup;
  bool operator==(const StateValues&) const = default;
};

/// The state file's text: twelve lines ended by CR LF, texts in double quotes (a quote inside
/// a text written as two), integers in decimal.
std::string FormatState(const StateValues& values);

/// Reads the state file's text item by item; nullopt when it has fewer than eleven items, an
/// index outside its list (below -1), a check-box value outside 0 to 2 or a non-number where a
/// number belongs. A missing or unusable twelfth item leaves the modern reading off; items
/// after the twelfth are ignored.
std::optional<StateValues> ParseState(std::string_view text);

/// Reads the state file at `path`; nullopt when it is missing, unreadable or unusable.
std::optional<StateValues> LoadStateFile(const std::string& path);

/// Writes the state file through a temporary file beside it renamed over it, so a failed write
/// leaves the previous file intact. A file the user may not write (read-only) is not replaced.
/// Returns "" on success, else the system's description of the failure.
std::string SaveStateFile(const std::string& path, const StateValues& values);

}  // namespace tagwright
