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
  const auto lead = static_cast<unsigned char>(text[i]);
  length = 1;
  if (lead < 0x80) return lead;
  std::size_t need;
  char32_t code;
  if (lead >= 0xC2 && lead <= 0xDF) {
    need = 2;
    code = lead & 0x1Fu;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    need = 3;
    code = lead & 0x0Fu;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    need = 4;
    code = lead & 0x07u;
  } else {
    return 0xFFFD;
  }
  if (need > text.size() - i) return 0xFFFD;
  for (std::size_t k = 1; k < need; ++k) {
    const auto next = static_cast<unsigned char>(text[i + k]);
    if ((next & 0xC0) != 0x80) return 0xFFFD;
    code = (code << 6) | (next & 0x3Fu);
  }
  // Overlong forms, surrogates and values past U+10FFFF are no characters.
  if ((need == 3 && code < 0x800) || (need == 4 && (code < 0x10000 || code > 0x10FFFF)) ||
      (code >= 0xD800 && code <= 0xDFFF)) {
    return 0xFFFD;
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
