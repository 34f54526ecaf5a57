#pragma once

// Every fact about the analysis settings in one place: each setting's range and default, the
// meta tag's limits and the longest word. The window's lists, the state file, the command
// line and the plain settings all read them from here.

namespace tagwright {

/// A setting chosen from consecutive whole numbers `first` to `last`; the window lists them
/// in ascending order, so a list's index is the value less `first`.
struct NumberSetting {
  int first;
  int last;
  int defaultValue;

  /// The number of entries of its list.
  constexpr int Count() const { return last - first + 1; }
  /// The list index of the default value.
  constexpr int DefaultIndex() const { return defaultValue - first; }
  /// The value at a list index.
  constexpr int ValueAt(int index) const { return first + index; }
  constexpr bool Holds(int value) const { return value >= first && value <= last; }
};

/// Words of this many letters or fewer are short.
inline constexpr NumberSetting kShortWordSize{1, 9, 3};
/// The minimum frequency; 1 means no frequency filter.
inline constexpr NumberSetting kThresholdFrequency{1, 9, 2};
/// The table weight; 0 means the text inside tables is skipped.
inline constexpr NumberSetting kTableWeight{0, 9, 1};
/// The existing-keywords weight; 0 means the page's own keywords tag is not counted.
inline constexpr NumberSetting kExistingKeywordsWeight{0, 9, 1};
/// The bold weight.
inline constexpr NumberSetting kBoldWeight{1, 9, 3};

inline constexpr bool kDefaultIgnoreCommonWords = true;
inline constexpr bool kDefaultIgnoreShortWords = true;
inline constexpr bool kDefaultModernMarkup = false;

/// The meta tag's limits (`intMinNumKeywords`, `intDefaultNumKeywords`, `intMaxNumKeywords`,
/// `intDefaultNumBytes`, `intMaxNumBytes`). The maximum bytes have no lower bound.
inline constexpr int kMinNumKeywords = 5;
inline constexpr int kDefaultNumKeywords = 50;
inline constexpr int kMaxNumKeywords = 100;
inline constexpr int kDefaultNumBytes = 500;
inline constexpr int kMaxNumBytes = 1000;
/// The window's limit boxes take this many characters as typed.
inline constexpr int kLimitBoxLength = 4;

/// Longer words are not counted (`intMaxWordLength`).
inline constexpr int kMaxWordLength = 60;

}  // namespace tagwright
