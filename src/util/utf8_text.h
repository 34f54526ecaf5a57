#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace tagwright {

/// Decodes the code point at `pos` and moves past it. A byte that does not begin a
/// well-formed sequence (overlong, surrogate, beyond U+10FFFF, cut short) gives false and
/// moves one byte on.
bool NextCodePoint(std::string_view text, std::size_t& pos, std::uint32_t& code);

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

/// `bytes` in base64 (RFC 4648, with padding).
std::string Base64(std::string_view bytes);

}  // namespace tagwright
