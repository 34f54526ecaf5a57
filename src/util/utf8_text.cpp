#include "util/utf8_text.h"

#include "util/text_encoding.h"

namespace tagwright {

void AppendCodePoint(std::string& out, std::uint32_t code) {
  if (code < 0x80) {
    out.push_back(static_cast<char>(code));
  } else if (code < 0x800) {
    out.push_back(static_cast<char>(0xC0 | (code >> 6)));
    out.push_back(static_cast<char>(0x80 | (code & 0x3F)));
  } else if (code < 0x10000) {
    out.push_back(static_cast<char>(0xE0 | (code >> 12)));
    out.push_back(static_cast<char>(0x80 | ((code >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (code & 0x3F)));
  } else {
    out.push_back(static_cast<char>(0xF0 | (code >> 18)));
    out.push_back(static_cast<char>(0x80 | ((code >> 12) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | ((code >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (code & 0x3F)));
  }
}

std::string ReplaceInvalidUtf8(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  std::size_t pos = 0;
  while (pos < text.size()) {
    // Well-formed characters are written back as they were, anything else as U+FFFD.
    std::size_t length;
    AppendCodePoint(out, DecodeUtf8(text, pos, length));
    pos += length;
  }
  return out;
}

namespace {

// The Windows-1252 byte of `code`, or 0 when it has none.
unsigned char Windows1252Byte(std::uint32_t code) {
  if (code < 0x80 || (code >= 0xA0 && code <= 0xFF)) return static_cast<unsigned char>(code);
  for (unsigned char byte = 0x80; byte <= 0x9F; ++byte) {
    if (code != 0xFFFD && Windows1252CodePoint(byte) == code) return byte;
  }
  return 0;
}

}  // namespace

namespace {

// UTF-8 text with each character as its byte where `byteOf` gives one (not 0), otherwise as
// the reference "&#N;"; an invalid byte is taken as U+FFFD.
template <typename ByteOf>
std::string EncodeWithReferences(std::string_view text, ByteOf byteOf) {
  std::string out;
  out.reserve(text.size());
  std::size_t pos = 0;
  while (pos < text.size()) {
    std::size_t length;
    const std::uint32_t code = DecodeUtf8(text, pos, length);
    pos += length;
    const unsigned char b = byteOf(code);
    if (b != 0 || code == 0) {
      out.push_back(static_cast<char>(b));
    } else {
      out += "&#" + std::to_string(code) + ";";
    }
  }
  return out;
}

}  // namespace

std::string Utf8ToWindows1252(std::string_view text) {
  return EncodeWithReferences(text, Windows1252Byte);
}

std::string Utf8ToAscii(std::string_view text) {
  return EncodeWithReferences(text, [](std::uint32_t code) {
    return code < 0x80 ? static_cast<unsigned char>(code) : static_cast<unsigned char>(0);
  });
}

}  // namespace tagwright
