#include "util/text_encoding.h"

#include "util/utf8_text.h"

#include <cstdint>

namespace tagwright {

bool IsValidUtf8(std::string_view bytes) {
  std::size_t i = 0;
  while (i < bytes.size()) {
    if (static_cast<unsigned char>(bytes[i]) < 0x80) {
      i = NextHighByte(bytes, i);
      continue;
    }
    std::size_t length;
    DecodeUtf8(bytes, i, length);
    if (length == 1) return false;
    i += length;
  }
  return true;
}

namespace {

// Code points of the bytes 0x80 to 0x9F in Windows-1252; 0xFFFD where the byte is unassigned.
constexpr std::uint16_t kHighControls[32] = {
    0x20AC, 0xFFFD, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0xFFFD, 0x017D, 0xFFFD, 0xFFFD, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0xFFFD, 0x017E, 0x0178};

}  // namespace

char32_t Windows1252CodePoint(unsigned char c) {
  return c >= 0x80 && c <= 0x9F ? kHighControls[c - 0x80] : c;
}

std::string Windows1252ToUtf8(std::string_view bytes) {
  std::string out;
  out.reserve(bytes.size() + bytes.size() / 4);
  for (char ch : bytes) {
    const auto c = static_cast<unsigned char>(ch);
    AppendCodePoint(out, Windows1252CodePoint(c));
  }
  return out;
}

std::string ToUtf8(std::string_view bytes) {
  if (IsValidUtf8(bytes)) return std::string(bytes);
  return Windows1252ToUtf8(bytes);
}

}  // namespace tagwright
