#pragma once

// Character-level string routines. Positions are 0-based; a failed search returns the
// length of the searched text (one past the last character).

#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>
#if defined(__SSE2__)
#include <emmintrin.h>
#endif

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

#if defined(__SSE2__)
/// A search sixteen characters at a time: the first position at or after `from` whose bit is
/// set in `found(at)`, the mask of the sixteen characters from `at`; the length if none. The
/// text ends with one step that overlaps the one before, the characters before `from` left
/// out. `text` has sixteen characters or more and `from` lies within it. Always inlined, so
/// that each search keeps its masks in registers.
template <typename Found>
[[gnu::always_inline]] inline std::size_t FirstFound(std::string_view text, std::size_t from,
                                                     const Found& found) {
  std::size_t i = from;
  for (; i + 16 <= text.size(); i += 16) {
    const unsigned bits = found(i);
    if (bits != 0) return i + static_cast<std::size_t>(std::countr_zero(bits));
  }
  if (i == text.size()) return i;
  const std::size_t last = text.size() - 16;
  const unsigned bits = found(last) >> (i - last);
  return bits != 0 ? i + static_cast<std::size_t>(std::countr_zero(bits)) : text.size();
}
#endif

/// The first position at or after `from` whose character is `a` or `b`; the length if none
/// (also when `from` lies at or past the end).
/// Made for searches that mostly end within a few characters, where a library call would
/// cost more than the search: sixteen characters are compared at a time, inline.
inline std::size_t FindEither(std::string_view text, std::size_t from, char a, char b) {
  std::size_t i = from;
#if defined(__SSE2__)
  const __m128i first = _mm_set1_epi8(a);
  const __m128i second = _mm_set1_epi8(b);
  if (text.size() >= 16 && i < text.size()) {
    return FirstFound(text, i, [&](std::size_t at) {
      const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(text.data() + at));
      return static_cast<unsigned>(_mm_movemask_epi8(
          _mm_or_si128(_mm_cmpeq_epi8(bytes, first), _mm_cmpeq_epi8(bytes, second))));
    });
  }
#endif
  while (i < text.size() && text[i] != a && text[i] != b) ++i;
  return i < text.size() ? i : text.size();
}
/// The same for one character.
inline std::size_t FindByte(std::string_view text, std::size_t from, char c) {
  return FindEither(text, from, c, c);
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

/// Lower-cases the letters A to Z; every other byte stays. True when the text holds a byte
/// from 0x80 up (that is, it is not all ASCII).
bool LowerCaseAscii(std::string& text);

}  // namespace tagwright
