#pragma once

// Character-level string routines. Positions are 0-based; a failed search returns the
// length of the searched text (one past the last character).

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

#include "util/byte_search.h"  // FindByte, LetterRunLength, LowerCaseAscii and the like

namespace tagwright {

/// First position after `start` whose character is not a blank (code 32); the length if none.
std::size_t NextNonBlank(std::string_view text, std::size_t start);

/// True for the letters a to z in either case.
inline constexpr bool IsLetter(char c) {
  // Setting bit 5 makes capitals small and moves no other character into a to z.
  return static_cast<unsigned char>((c | 0x20) - 'a') < 26;
}

/// The longest text that CopyShort copies.
inline constexpr std::size_t kShortCopy = 16;
/// Copies the `n` characters at `from` (at most kShortCopy) to `out` in at most two moves of a
/// fixed size, which may overlap: for the many short words, cheaper than a call to memcpy.
inline void CopyShort(char* out, const char* from, std::size_t n) {
  if (n >= 8) {
    std::memcpy(out, from, 8);
    std::memcpy(out + n - 8, from + n - 8, 8);
  } else if (n >= 4) {
    std::memcpy(out, from, 4);
    std::memcpy(out + n - 4, from + n - 4, 4);
  } else if (n > 0) {
    out[0] = from[0];
    out[n / 2] = from[n / 2];
    out[n - 1] = from[n - 1];
  }
}

/// How many characters of `text` equal `c`.
std::int64_t CountChar(std::string_view text, char c);

/// Keeps only what may stand in a signed whole number: digits, and one leading "+" (or "-"
/// when `allowNegative`) before the first digit.
void FilterNumericText(std::string& text, bool allowNegative);

/// The unsigned decimal number at the start of `text` (digits, optional fraction); 0 when
/// none begins there.
double UnsignedNumber(std::string_view text);

/// The leading number of `text` (blanks skipped, optional sign, then as UnsignedNumber).
double LeadingNumber(std::string_view text);

/// Rounds to the nearest whole number, halves to the even neighbour, held to the int64 range.
std::int64_t RoundHalfEven(double value);

/// Removes leading and trailing blanks (code 32 only).
std::string_view TrimBlanks(std::string_view text);

}  // namespace tagwright
