#pragma once

// Character-level string routines. Positions are 0-based; a failed search returns the
// length of the searched text (one past the last character).

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace tagwright {

/// First position after `start` whose character is not a blank (code 32); the length if none.
std::size_t NextNonBlank(std::string_view text, std::size_t start);

/// True for the letters a to z in either case.
inline constexpr bool IsLetter(char c) {
  // Setting bit 5 makes capitals small and moves no other character into a to z.
  return static_cast<unsigned char>((c | 0x20) - 'a') < 26;
}

/// Number of consecutive letters beginning at `start`.
std::size_t LetterRunLength(std::string_view text, std::size_t start);

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

/// Lower-cases the letters A to Z; every other byte stays.
void LowerCaseAscii(std::string& text);

}  // namespace tagwright
