#include "util/str_proc.h"

#include <bit>
#include <cmath>
#include <limits>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace tagwright {

std::size_t NextNonBlank(std::string_view text, std::size_t start) {
  // The character at `start` itself is never examined.
  for (std::size_t i = start + 1; i < text.size(); ++i) {
    if (text[i] != ' ') return i;
  }
  return text.size();
}

std::size_t LetterRunLength(std::string_view text, std::size_t start) {
  std::size_t end = start;
#if defined(__SSE2__)
  // Sixteen bytes at a time: setting bit 5 makes capitals small, and the shift puts a to z at
  // the 26 smallest signed bytes, so that one compare finds the letters.
  const __m128i caseBit = _mm_set1_epi8(0x20);
  const __m128i shift = _mm_set1_epi8(static_cast<char>(0x80 - 'a'));
  const __m128i limit = _mm_set1_epi8(static_cast<char>(-128 + 26));
  const auto others = [&](std::size_t at) {
    const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(text.data() + at));
    const __m128i letters =
        _mm_cmplt_epi8(_mm_add_epi8(_mm_or_si128(bytes, caseBit), shift), limit);
    return ~static_cast<unsigned>(_mm_movemask_epi8(letters)) & 0xFFFFu;
  };
  if (text.size() >= 16 && end < text.size()) return FirstFound(text, end, others) - start;
#endif
  while (end < text.size() && IsLetter(text[end])) ++end;
  return end - start;
}

std::int64_t CountChar(std::string_view text, char c) {
  std::int64_t count = 0;
  for (char t : text) count += (t == c);
  return count;
}

void FilterNumericText(std::string& text, bool allowNegative) {
  bool digitKept = false;
  bool plusKept = false;
  bool minusKept = false;
  std::string kept;
  for (char c : text) {
    if (c == '+') {
      if (!digitKept && !plusKept) {
        plusKept = true;
        kept.push_back(c);
      }
    } else if (c == '-') {
      if (allowNegative && !digitKept && !minusKept) {
        minusKept = true;
        kept.push_back(c);
      }
    } else if (c >= '0' && c <= '9') {
      digitKept = true;
      kept.push_back(c);
    }
  }
  text = std::move(kept);
}

double LeadingNumber(std::string_view text) {
  std::size_t i = 0;
  while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
  double sign = 1;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
    if (text[i] == '-') sign = -1;
    ++i;
  }
  return sign * UnsignedNumber(text.substr(i));
}

double UnsignedNumber(std::string_view text) {
  std::size_t i = 0;
  double value = 0;
  for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
    value = value * 10 + (text[i] - '0');
  }
  if (i < text.size() && text[i] == '.') {
    double scale = 0.1;
    for (++i; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
      value += (text[i] - '0') * scale;
      scale /= 10;
    }
  }
  return value;
}

std::int64_t RoundHalfEven(double value) {
  // 2^63 as a double; anything at or beyond it is held to the range.
  constexpr double kLimit = 9223372036854775808.0;
  // 2^52: from there up every double is a whole number.
  constexpr double kWhole = 4503599627370496.0;
  if (std::isnan(value)) return 0;
  double rounded = value;
  if (std::fabs(value) < kWhole) {
    // Adding 2^52 (with the value's sign) leaves no bits for a fraction, so the sum is rounded
    // to a whole number, halves to even; as std::nearbyint, without its call.
    const double shift = std::copysign(kWhole, value);
    rounded = (value + shift) - shift;
  }
  if (rounded >= kLimit) return std::numeric_limits<std::int64_t>::max();
  if (rounded < -kLimit) return std::numeric_limits<std::int64_t>::min();
  return static_cast<std::int64_t>(rounded);
}

std::string_view TrimBlanks(std::string_view text) {
  const std::size_t first = text.find_first_not_of(' ');
  if (first == std::string_view::npos) return {};
  const std::size_t last = text.find_last_not_of(' ');
  return text.substr(first, last - first + 1);
}

bool LowerCaseAscii(std::string& text) {
  char* data = text.data();
  const std::size_t size = text.size();
  std::size_t i = 0;
  unsigned high = 0;
#if defined(__SSE2__)
  // Sixteen bytes at a time: shifted so that A to Z become the 26 smallest signed bytes, one
  // compare finds the capitals, and 32 is added to just those.
  const __m128i shift = _mm_set1_epi8(static_cast<char>(0x80 - 'A'));
  const __m128i limit = _mm_set1_epi8(static_cast<char>(-128 + 26));
  const __m128i caseBit = _mm_set1_epi8('a' - 'A');
  __m128i any = _mm_setzero_si128();
  const auto lowerBlock = [&](std::size_t from) {
    __m128i* at = reinterpret_cast<__m128i*>(data + from);
    const __m128i bytes = _mm_loadu_si128(at);
    any = _mm_or_si128(any, bytes);
    const __m128i capitals = _mm_cmplt_epi8(_mm_add_epi8(bytes, shift), limit);
    _mm_storeu_si128(at, _mm_add_epi8(bytes, _mm_and_si128(capitals, caseBit)));
  };
  for (; i + 16 <= size; i += 16) lowerBlock(i);
  // The rest is the end of a last block that overlaps the one before: lower-casing twice
  // changes nothing.
  if (i < size && size >= 16) {
    lowerBlock(size - 16);
    i = size;
  }
  high = static_cast<unsigned>(_mm_movemask_epi8(any));
#endif
  for (; i < size; ++i) {
    const char c = data[i];
    high |= static_cast<unsigned char>(c) & 0x80u;
    data[i] = static_cast<char>(c + (static_cast<unsigned char>(c - 'A') < 26 ? 'a' - 'A' : 0));
  }
  return high != 0;
}

}  // namespace tagwright
