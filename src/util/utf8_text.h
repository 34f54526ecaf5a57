#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace tagwright {

/// The code point of the UTF-8 character at `i`, and its length in bytes. A byte that does not
/// begin a well-formed character (overlong, surrogate, beyond U+10FFFF, cut short) gives U+FFFD
/// and length 1, so a code from 0x80 up with length 1 marks a byte that is not UTF-8.
inline char32_t DecodeUtf8(std::string_view text, std::size_t i, std::size_t& length) {
  const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(text[i + k]); };
  const unsigned char lead = byte(0);
  length = 1;
  if (lead < 0x80) return lead;
  std::size_t need;
  unsigned char low = 0x80;   // bounds of the second byte: no overlong forms, no surrogates,
  unsigned char high = 0xBF;  // nothing beyond U+10FFFF
  if (lead >= 0xC2 && lead <= 0xDF) {
    need = 2;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    need = 3;
    if (lead == 0xE0) low = 0xA0;
    if (lead == 0xED) high = 0x9F;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    need = 4;
    if (lead == 0xF0) low = 0x90;
    if (lead == 0xF4) high = 0x8F;
  } else {
    return 0xFFFD;
  }
  if (need > text.size() - i || byte(1) < low || byte(1) > high) return 0xFFFD;
  // The lead byte keeps 5, 4 or 3 bits; each further byte adds 6. Whether the sequence holds
  // decides nothing but the bytes, so a caller that only checks pays for no arithmetic.
  char32_t code = lead & (0x7Fu >> need);
  for (std::size_t k = 1; k < need; ++k) {
    if ((byte(k) & 0xC0) != 0x80) return 0xFFFD;
    code = (code << 6) | (byte(k) & 0x3Fu);
  }
  length = need;
  return code;
}

/// Appends `code` as UTF-8.
void AppendCodePoint(std::string& out, std::uint32_t code);

/// `text` with every byte that is not part of well-formed UTF-8 replaced by U+FFFD.
std::string ReplaceInvalidUtf8(std::string_view text);

/// UTF-8 text as Windows-1252 bytes; a character that Windows-1252 cannot hold becomes the
/// character reference "&#N;" (decimal). Invalid UTF-8 bytes become U+FFFD's reference.
std::string Utf8ToWindows1252(std::string_view text);

/// UTF-8 text as ASCII; every other character becomes "&#N;" (decimal), as in
/// Utf8ToWindows1252.
std::string Utf8ToAscii(std::string_view text);

}  // namespace tagwright
