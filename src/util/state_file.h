#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace tagwright {

/// The eleven remembered values, as the controls hold them.
struct StateValues {
  std::string inputFile;
  std::string beginWith;
  std::string maxKeywords = "50";
  std::string maxBytes = "500";
  int shortWordSizeIndex = 2;  // list indexes; -1 means no entry chosen
  int thresholdFrequencyIndex = 1;
  int tableWeightIndex = 1;
  int existingKeywordsWeightIndex = 1;
  int boldWeightIndex = 2;
  int ignoreShortWords = 1;  // check-box states 0, 1 or 2 (greyed)
  int ignoreCommonWords = 1;
  bool operator==(const StateValues&) const = default;
};

/// The state file's text: eleven lines ended by CR LF, texts in double quotes (a quote inside a
/// text written as two), integers in decimal.
std::string FormatState(const StateValues& values);

/// Reads the state file's text item by item; nullopt when it has fewer than eleven items, an
/// index outside its list (below -1), a check-box value outside 0 to 2 or a non-number where a
/// number belongs. Items after the eleventh are ignored.
std::optional<StateValues> ParseState(std::string_view text);

/// Reads the state file at `path`; nullopt when it is missing, unreadable or unusable.
std::optional<StateValues> LoadStateFile(const std::string& path);

/// Writes the state file through a temporary file beside it renamed over it, so a failed write
/// leaves the previous file intact. Returns "" on success, else the system's description.
std::string SaveStateFile(const std::string& path, const StateValues& values);

}  // namespace tagwright
