#pragma once

#include <string_view>

namespace tagwright {

/// Row 0 is English, row 1 German (conjunctions only).
inline constexpr int kEnglish = 0;
inline constexpr int kGerman = 1;

bool IsConjunction(std::string_view word, int language);
bool IsGeneralWord(std::string_view word, int language);
bool IsPreposition(std::string_view word, int language);
bool IsNumberWord(std::string_view word, int language);
/// True when the word is in the given row of any of the four lists.
bool IsCommonWord(std::string_view word, int language);

}  // namespace tagwright
