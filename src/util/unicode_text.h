#pragma once

#include <string>
#include <string_view>

namespace tagwright {

/// `text` lower-cased by Unicode's rules when it is valid UTF-8 ("CAFÉ" gives "café");
/// otherwise only the letters A to Z are lower-cased.
std::string LowerCaseUtf8(std::string_view text);

/// Number of characters (code points) in UTF-8 text: its bytes less the continuation bytes.
inline std::size_t CharacterCount(std::string_view text) {
  std::size_t continuations = 0;
  for (char c : text) continuations += (static_cast<unsigned char>(c) & 0xC0) == 0x80 ? 1 : 0;
  return text.size() - continuations;
}

/// True for a character that Unicode's East Asian Width calls wide or fullwidth: it takes two
/// columns (Chinese, Japanese and Korean letters).
bool IsWideCharacter(char32_t c);

/// Number of display columns of UTF-8 text: a character that Unicode's East Asian Width calls
/// wide or fullwidth (Chinese, Japanese, Korean) takes two, every other one. Bytes that form
/// no character count one each.
std::size_t DisplayWidth(std::string_view text);
/// DisplayWidth(text), counted only as far as `limit` and one column beyond: the result is
/// exact up to `limit`, and any value above it means "wider". For the question of whether a
/// word is short, which only its first few characters answer.
std::size_t DisplayWidthUpTo(std::string_view text, std::size_t limit);

/// True for the letters of Kana, the CJK ideographs and the Hangul syllables: most of what a
/// Chinese, Japanese or Korean page holds, all wide and without case. Where speed matters,
/// this answers for them without asking ICU.
inline bool IsCommonWideLetter(char32_t c) {
  return (c >= 0x3041 && c < 0x3097) || (c >= 0x3099 && c < 0x3100) ||
         (c >= 0x4E00 && c < 0xA000) || (c >= 0xAC00 && c < 0xD7A4);
}

/// The lower-case form of `c` by Unicode's simple case mapping, from ICU.
char32_t LowerCodePointFromIcu(char32_t c);

/// The lower-case form of `c` by Unicode's simple case mapping (as ICU's u_tolower): ASCII,
/// Latin-1 and the common wide letters without asking ICU.
inline char32_t LowerCodePoint(char32_t c) {
  if (c < 0x80) return (c >= 'A' && c <= 'Z') ? c + 0x20 : c;
  // À to Þ but the multiplication sign have their lower case 0x20 above.
  if (c <= 0xFF) return (c >= 0xC0 && c <= 0xDE && c != 0xD7) ? c + 0x20 : c;
  if (IsCommonWideLetter(c)) return c;  // caseless
  return LowerCodePointFromIcu(c);
}

}  // namespace tagwright
