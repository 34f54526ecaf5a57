#pragma once

// The byte searches of the reading: the first byte of a small set, the first byte from 0x80
// up, the length of a run of letters, ASCII lower-casing in place, the next stop within a tag
// and the bracket masks of a block. Positions are 0-based; a failed search returns the length
// of the searched text.
//
// Each operation has a scalar twin (its name ends in Scalar) with the same signature and the
// same results, always compiled. Where SSE2 is available, a SIMD twin (ending in Simd) reads
// sixteen bytes at a time, and the operation's plain name calls it; the build option
// TAGWRIGHT_SIMD=OFF (which defines TAGWRIGHT_NO_SIMD) leaves the SIMD twins out and the plain
// names call the scalar twins. The intrinsics live in this header and byte_search.cpp alone.
// The searches that end within a few bytes are inline: a call would cost more than they do.

#include <bit>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#if defined(__SSE2__) && !defined(TAGWRIGHT_NO_SIMD)
#define TAGWRIGHT_SIMD_SSE2 1
#include <emmintrin.h>
#else
#define TAGWRIGHT_SIMD_SSE2 0
#endif

namespace tagwright {

/// The bytes one step of a SIMD twin reads, and the width of the masks of BlockMasksOf.
inline constexpr std::size_t kByteBlock = 16;

/// Where a block of kByteBlock bytes holds two sought bytes, one bit a byte (bit k for the byte
/// at k).
struct BlockMasks {
  unsigned first = 0;
  unsigned second = 0;
};

// ---- Scalar twins ------------------------------------------------------------------------
// The twins defined here are always inlined, so that each operation compiles to one body, as
// a search written out in place would.

/// FindEither, a byte at a time.
[[gnu::always_inline]] inline std::size_t FindEitherScalar(std::string_view text, std::size_t from,
                                                           char a, char b) {
  std::size_t i = from;
  while (i < text.size() && text[i] != a && text[i] != b) ++i;
  return i < text.size() ? i : text.size();
}

/// FindEitherIf, a byte at a time.
template <typename Accept>
[[gnu::always_inline]] inline std::size_t FindEitherIfScalar(std::string_view text,
                                                             std::size_t from, char a, char b,
                                                             const Accept& accept) {
  for (std::size_t i = from; i < text.size(); ++i) {
    if ((text[i] == a || text[i] == b) && accept(i)) return i;
  }
  return text.size();
}

/// NextTagStop, a byte at a time.
[[gnu::always_inline]] inline std::size_t NextTagStopScalar(std::string_view line,
                                                            std::size_t from) {
  std::size_t i = from;
  // All four lie below 0x40: one comparison passes letters and most other characters.
  while (i < line.size() &&
         (static_cast<unsigned char>(line[i]) >= 0x40 ||
          (line[i] != '<' && line[i] != '>' && line[i] != '"' && line[i] != '\''))) {
    ++i;
  }
  return i;
}

/// BlockMasksOf, a byte at a time.
[[gnu::always_inline]] inline BlockMasks BlockMasksOfScalar(const char* block, char first,
                                                            char second) {
  BlockMasks masks;
  for (unsigned k = 0; k < kByteBlock; ++k) {
    masks.first |= static_cast<unsigned>(block[k] == first) << k;
    masks.second |= static_cast<unsigned>(block[k] == second) << k;
  }
  return masks;
}

/// NextHighByte, eight bytes at a time in a 64-bit word.
std::size_t NextHighByteScalar(std::string_view bytes, std::size_t from);
/// LetterRunLength, a byte at a time.
std::size_t LetterRunLengthScalar(std::string_view text, std::size_t start);
/// LowerCaseAscii, a byte at a time.
bool LowerCaseAsciiScalar(std::string& text);

// ---- SIMD twins --------------------------------------------------------------------------
#if TAGWRIGHT_SIMD_SSE2

/// The sixteen bytes at `p` as one value.
[[gnu::always_inline]] inline __m128i LoadBlock(const char* p) {
  return _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
}
/// All ones in each byte of `bytes` that equals `c`, zero in the others.
[[gnu::always_inline]] inline __m128i Equal(__m128i bytes, char c) {
  return _mm_cmpeq_epi8(bytes, _mm_set1_epi8(c));
}
/// The high bit of each byte of `bytes`, one bit a byte.
[[gnu::always_inline]] inline unsigned Mask(__m128i bytes) {
  return static_cast<unsigned>(_mm_movemask_epi8(bytes));
}

/// A search sixteen bytes at a time: the first position at or after `from` whose bit is set in
/// `found(at)`, the mask of the sixteen bytes from `at`; the length if none. The text ends with
/// one step that overlaps the one before, the bytes before `from` left out. `text` has sixteen
/// bytes or more and `from` lies within it. Always inlined, so that each search keeps its
/// masks in registers.
template <typename Found>
[[gnu::always_inline]] inline std::size_t FirstFound(std::string_view text, std::size_t from,
                                                     const Found& found) {
  std::size_t i = from;
  for (; i + kByteBlock <= text.size(); i += kByteBlock) {
    const unsigned bits = found(i);
    if (bits != 0) return i + static_cast<std::size_t>(std::countr_zero(bits));
  }
  if (i == text.size()) return i;
  const std::size_t last = text.size() - kByteBlock;
  const unsigned bits = found(last) >> (i - last);
  return bits != 0 ? i + static_cast<std::size_t>(std::countr_zero(bits)) : text.size();
}

/// FindEither, sixteen bytes at a time.
[[gnu::always_inline]] inline std::size_t FindEitherSimd(std::string_view text, std::size_t from,
                                                         char a, char b) {
  if (text.size() < kByteBlock || from >= text.size()) return FindEitherScalar(text, from, a, b);
  return FirstFound(text, from, [&](std::size_t at) {
    const __m128i bytes = LoadBlock(text.data() + at);
    return Mask(_mm_or_si128(Equal(bytes, a), Equal(bytes, b)));
  });
}

/// FindEitherIf, sixteen bytes at a time; each sought byte of a block is offered to `accept`
/// in turn, and the tail shorter than a block is read a byte at a time.
template <typename Accept>
[[gnu::always_inline]] inline std::size_t FindEitherIfSimd(std::string_view text, std::size_t from,
                                                           char a, char b, const Accept& accept) {
  std::size_t i = from;
  for (; i + kByteBlock <= text.size(); i += kByteBlock) {
    const __m128i bytes = LoadBlock(text.data() + i);
    for (unsigned found = Mask(_mm_or_si128(Equal(bytes, a), Equal(bytes, b))); found != 0;
         found &= found - 1) {
      const std::size_t at = i + static_cast<std::size_t>(std::countr_zero(found));
      if (accept(at)) return at;
    }
  }
  return FindEitherIfScalar(text, i, a, b, accept);
}

/// NextTagStop, sixteen bytes at a time.
[[gnu::always_inline]] inline std::size_t NextTagStopSimd(std::string_view line, std::size_t from) {
  if (line.size() < kByteBlock || from >= line.size()) return NextTagStopScalar(line, from);
  return FirstFound(line, from, [&](std::size_t at) {
    const __m128i bytes = LoadBlock(line.data() + at);
    const __m128i brackets = _mm_or_si128(Equal(bytes, '<'), Equal(bytes, '>'));
    const __m128i quotes = _mm_or_si128(Equal(bytes, '"'), Equal(bytes, '\''));
    return Mask(_mm_or_si128(brackets, quotes));
  });
}

/// BlockMasksOf, the sixteen bytes at once.
[[gnu::always_inline]] inline BlockMasks BlockMasksOfSimd(const char* block, char first,
                                                          char second) {
  const __m128i bytes = LoadBlock(block);
  return {Mask(Equal(bytes, first)), Mask(Equal(bytes, second))};
}

/// NextHighByte, sixteen bytes at a time.
std::size_t NextHighByteSimd(std::string_view bytes, std::size_t from);
/// LetterRunLength, sixteen bytes at a time.
std::size_t LetterRunLengthSimd(std::string_view text, std::size_t start);
/// LowerCaseAscii, sixteen bytes at a time.
bool LowerCaseAsciiSimd(std::string& text);

#endif  // TAGWRIGHT_SIMD_SSE2

// ---- The operations ----------------------------------------------------------------------

/// The first position at or after `from` whose byte is `a` or `b`; the length if none (also
/// when `from` lies at or past the end). Made for searches that mostly end within a few bytes.
inline std::size_t FindEither(std::string_view text, std::size_t from, char a, char b) {
#if TAGWRIGHT_SIMD_SSE2
  return FindEitherSimd(text, from, a, b);
#else
  return FindEitherScalar(text, from, a, b);
#endif
}

/// The same for one byte.
inline std::size_t FindByte(std::string_view text, std::size_t from, char c) {
  return FindEither(text, from, c, c);
}

/// The first position at or after `from` whose byte is `a` or `b` and for which `accept`
/// (called with the position, in order) says true; the length if none. For searches whose
/// bytes are common but whose matches are rarer.
template <typename Accept>
inline std::size_t FindEitherIf(std::string_view text, std::size_t from, char a, char b,
                                const Accept& accept) {
#if TAGWRIGHT_SIMD_SSE2
  return FindEitherIfSimd(text, from, a, b, accept);
#else
  return FindEitherIfScalar(text, from, a, b, accept);
#endif
}

/// The first bracket or quotation mark ("<", ">", '"' or "'") at or after `from` in `line`;
/// its size when there is none (`from` itself when that lies past the end).
inline std::size_t NextTagStop(std::string_view line, std::size_t from) {
#if TAGWRIGHT_SIMD_SSE2
  return NextTagStopSimd(line, from);
#else
  return NextTagStopScalar(line, from);
#endif
}

/// Where the kByteBlock bytes from `block` on hold `first` and `second`.
inline BlockMasks BlockMasksOf(const char* block, char first, char second) {
#if TAGWRIGHT_SIMD_SSE2
  return BlockMasksOfSimd(block, first, second);
#else
  return BlockMasksOfScalar(block, first, second);
#endif
}

/// Position of the first byte from 0x80 up at or after `from`; the size when there is none.
std::size_t NextHighByte(std::string_view bytes, std::size_t from);

/// Number of consecutive letters (a to z in either case) beginning at `start`.
std::size_t LetterRunLength(std::string_view text, std::size_t start);

/// Lower-cases the letters A to Z; every other byte stays. True when the text holds a byte
/// from 0x80 up (that is, it is not all ASCII).
bool LowerCaseAscii(std::string& text);

}  // namespace tagwright
