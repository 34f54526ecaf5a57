#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "util/settings.h"
#include "words/ranked_word.h"

namespace tagwright {

/// "No words with more than 3 letters occur at least twice." from the short-word size and the
/// minimum frequency, whether or not the short-word filter is on.
std::string ShowNoWordsMessage(int shortWordSize, int thresholdFrequency);

/// The ranked report ("Rank Value Frequency" and one row per word, CR LF line ends), or the
/// no-words message for an empty table.
std::string ShowWordList(const RankedWords& words, const AnalysisSettings& settings);

/// The same text with `lineBreak` ending its lines, handed to `write` in parts as it is made,
/// so that a long list need not be held whole.
void WriteWordList(const RankedWords& words, const AnalysisSettings& settings,
                   std::string_view lineBreak, const std::function<void(std::string_view)>& write);

}  // namespace tagwright
