#pragma once

#include <string_view>

namespace tagwright {

/// Row 0 is English, row 1 German (conjunctions only).
inline constexpr int kEnglish = 0;
inline constexpr int kGerman = 1;

bool IsConjunction(std::string_view word, int intLanguage);
bool IsGeneralWord(std::string_view word, int intLanguage);
bool IsPreposition(std::string_view word, int intLanguage);
bool IsNumberWord(std::string_view word, int intLanguage);
/// True when the word is in the given row of any of the four lists.
bool IsCommonWord(std::string_view word, int intLanguage);

}  // namespace tagwright
