#pragma once

#include <string>

#include "util/settings.h"
#include "words/ranked_word.h"

namespace tagwright {

/// "No words with more than 3 letters occur at least twice." from the short-word size and the
/// minimum frequency, whether or not the short-word filter is on.
std::string ShowNoWordsMessage(int shortWordSize, int thresholdFrequency);

/// The ranked report ("Rank Value Frequency" and one row per word, CR LF line ends), or the
/// no-words message for an empty table.
std::string ShowWordList(const RankedWords& words, const AnalysisSettings& settings);

}  // namespace tagwright
