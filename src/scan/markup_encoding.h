#pragma once

#include <string>

namespace tagwright {

// Marker characters that stand for context tags in an encoded line.
inline constexpr char kMarkH6 = 1;  // a heading start's code is its weight: h6 adds 1 ...
inline constexpr char kMarkH1 = 6;  // ... h1 adds 6
inline constexpr char kMarkHeadingEnd = 7;
inline constexpr char kMarkBoldStart = 11;
inline constexpr char kMarkBoldEnd = 12;
inline constexpr char kMarkTitleStart = 14;
inline constexpr char kMarkTitleEnd = 15;

/// Rewrites a lower-cased line: the blank, quotation and accented-letter entities become
/// characters, the exact bold, title and heading tags become marker characters, and then
/// each accented letter written directly (UTF-8 when the line is valid UTF-8, otherwise
/// Windows-1252) becomes the same transliteration as its entity.
/// Without `spellLetters` the letters written directly stay as they are (the modern reading
/// spells them word by word).
void EncodeMarkup(std::string& line, bool spellLetters = true);

/// The entity and tag replacements done literally, one whole-line pass per replacement in
/// table order, then the letters. EncodeMarkup gives the same result in one pass; this is
/// its reference.
void EncodeMarkupByPasses(std::string& line);

}  // namespace tagwright
