#pragma once

#include <string>
#include <string_view>

#include "util/byte_search.h"  // NextHighByte

namespace tagwright {

/// True when `bytes` is well-formed UTF-8 (no overlong forms, no surrogates).
bool IsValidUtf8(std::string_view bytes);

/// The code point of a Windows-1252 byte (U+FFFD for the five unassigned bytes).
char32_t Windows1252CodePoint(unsigned char c);

/// Decodes Windows-1252 bytes to UTF-8 (the five unassigned bytes map to U+FFFD).
std::string Windows1252ToUtf8(std::string_view bytes);

/// Document bytes as UTF-8 text: valid UTF-8 unchanged, anything else read as Windows-1252.
std::string ToUtf8(std::string_view bytes);

}  // namespace tagwright
