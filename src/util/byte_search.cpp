#include "util/byte_search.h"

#include <cstring>

#include "util/str_proc.h"

namespace tagwright {

// ---- Scalar twins ------------------------------------------------------------------------

std::size_t NextHighByteScalar(std::string_view bytes, std::size_t from) {
  // Text is mostly ASCII: eight bytes at a time are passed while none has its high bit set.
  std::size_t i = from;
  constexpr std::uint64_t kHighBits = 0x8080808080808080;
  for (; i + 8 <= bytes.size(); i += 8) {
    std::uint64_t eight;
    std::memcpy(&eight, bytes.data() + i, 8);
    if ((eight & kHighBits) != 0) break;
  }
  for (; i < bytes.size(); ++i) {
    if (static_cast<unsigned char>(bytes[i]) >= 0x80) return i;
  }
  return bytes.size();
}

std::size_t LetterRunLengthScalar(std::string_view text, std::size_t start) {
  std::size_t end = start;
  while (end < text.size() && IsLetter(text[end])) ++end;
  return end - start;
}

bool LowerCaseAsciiScalar(std::string& text) {
  unsigned high = 0;
  for (char& c : text) {
    high |= static_cast<unsigned char>(c) & 0x80u;
    c = static_cast<char>(c + (static_cast<unsigned char>(c - 'A') < 26 ? 'a' - 'A' : 0));
  }
  return high != 0;
}

// ---- SIMD twins --------------------------------------------------------------------------
#if TAGWRIGHT_SIMD_SSE2

std::size_t NextHighByteSimd(std::string_view bytes, std::size_t from) {
  std::size_t i = from;
  for (; i + kByteBlock <= bytes.size(); i += kByteBlock) {
    const unsigned high = Mask(LoadBlock(bytes.data() + i));
    if (high != 0) return i + static_cast<std::size_t>(std::countr_zero(high));
  }
  return NextHighByteScalar(bytes, i);
}

std::size_t LetterRunLengthSimd(std::string_view text, std::size_t start) {
  if (text.size() < kByteBlock || start >= text.size()) return LetterRunLengthScalar(text, start);
  // Setting bit 5 makes capitals small, and the shift puts a to z at the 26 smallest signed
  // bytes, so that one compare finds the letters.
  const __m128i caseBit = _mm_set1_epi8(0x20);
  const __m128i shift = _mm_set1_epi8(static_cast<char>(0x80 - 'a'));
  const __m128i limit = _mm_set1_epi8(static_cast<char>(-128 + 26));
  const auto others = [&](std::size_t at) {
    const __m128i bytes = LoadBlock(text.data() + at);
    const __m128i letters =
        _mm_cmplt_epi8(_mm_add_epi8(_mm_or_si128(bytes, caseBit), shift), limit);
    return ~Mask(letters) & 0xFFFFu;
  };
  return FirstFound(text, start, others) - start;
}

bool LowerCaseAsciiSimd(std::string& text) {
  const std::size_t size = text.size();
  if (size < kByteBlock) return LowerCaseAsciiScalar(text);
  char* data = text.data();
  // Shifted so that A to Z become the 26 smallest signed bytes, one compare finds the
  // capitals, and 32 is added to just those.
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
  std::size_t i = 0;
  for (; i + kByteBlock <= size; i += kByteBlock) lowerBlock(i);
  // The rest is the end of a last block that overlaps the one before: lower-casing twice
  // changes nothing.
  if (i < size) lowerBlock(size - kByteBlock);
  return Mask(any) != 0;
}

#endif  // TAGWRIGHT_SIMD_SSE2

// ---- The operations ----------------------------------------------------------------------

std::size_t NextHighByte(std::string_view bytes, std::size_t from) {
#if TAGWRIGHT_SIMD_SSE2
  return NextHighByteSimd(bytes, from);
#else
  return NextHighByteScalar(bytes, from);
#endif
}

std::size_t LetterRunLength(std::string_view text, std::size_t start) {
#if TAGWRIGHT_SIMD_SSE2
  return LetterRunLengthSimd(text, start);
#else
  return LetterRunLengthScalar(text, start);
#endif
}

bool LowerCaseAscii(std::string& text) {
#if TAGWRIGHT_SIMD_SSE2
  return LowerCaseAsciiSimd(text);
#else
  return LowerCaseAsciiScalar(text);
#endif
}

}  // namespace tagwright
