#include "util/unicode_text.h"

#include <unicode/ucasemap.h>
#include <unicode/uchar.h>
#include <unicode/utf8.h>

#include <cstdint>
#include <memory>

#include "util/str_proc.h"
#include "util/text_encoding.h"

namespace tagwright {

std::string LowerCaseUtf8(std::string_view text) {
  std::string lower(text);
  // ASCII text, most words, is lower-cased to the same without ICU.
  if (!LowerCaseAscii(lower)) return lower;
  if (!IsValidUtf8(text) || text.size() > static_cast<std::size_t>(INT32_MAX / 3)) return lower;
  UErrorCode status = U_ZERO_ERROR;
  const std::unique_ptr<UCaseMap, decltype(&ucasemap_close)> map(ucasemap_open("", 0, &status),
                                                                 &ucasemap_close);
  if (U_FAILURE(status)) return lower;
  // Lower-casing can lengthen a letter; three times the bytes is more than Unicode needs.
  lower.resize(text.size() * 3 + 1);
  const int32_t length =
      ucasemap_utf8ToLower(map.get(), lower.data(), static_cast<int32_t>(lower.size()), text.data(),
                           static_cast<int32_t>(text.size()), &status);
  if (U_FAILURE(status) || length < 0) {
    lower.assign(text);
    LowerCaseAscii(lower);
    return lower;
  }
  lower.resize(static_cast<std::size_t>(length));
  return lower;
}

char32_t LowerCodePointFromIcu(char32_t c) {
  return static_cast<char32_t>(u_tolower(static_cast<UChar32>(c)));
}

bool IsWideCharacter(char32_t c) {
  const auto kind = static_cast<UEastAsianWidth>(
      u_getIntPropertyValue(static_cast<UChar32>(c), UCHAR_EAST_ASIAN_WIDTH));
  return kind == U_EA_WIDE || kind == U_EA_FULLWIDTH;
}

std::size_t DisplayWidth(std::string_view text) { return DisplayWidthUpTo(text, SIZE_MAX - 2); }

std::size_t DisplayWidthUpTo(std::string_view text, std::size_t limit) {
  if (text.size() > static_cast<std::size_t>(INT32_MAX)) return CharacterCount(text);
  std::size_t width = 0;
  const auto* bytes = reinterpret_cast<const std::uint8_t*>(text.data());
  const auto length = static_cast<std::int32_t>(text.size());
  for (std::int32_t i = 0; i < length && width <= limit;) {
    if (bytes[i] < 0x80) {
      ++width;
      ++i;
      continue;
    }
    UChar32 c = 0;
    U8_NEXT(bytes, i, length, c);
    if (c < 0) {
      ++width;
      continue;
    }
    if (IsCommonWideLetter(static_cast<char32_t>(c))) {
      width += 2;
      continue;
    }
    // No character below U+1100 is wide: Latin, Greek, Cyrillic and the other alphabets of
    // most pages are answered without ICU.
    if (c < 0x1100) {
      ++width;
      continue;
    }
    const auto kind =
        static_cast<UEastAsianWidth>(u_getIntPropertyValue(c, UCHAR_EAST_ASIAN_WIDTH));
    width += (kind == U_EA_WIDE || kind == U_EA_FULLWIDTH) ? 2 : 1;
  }
  return width;
}

}  // namespace tagwright
