#include "util/utf8_text.h"

#include <gtest/gtest.h>

namespace tagwright {
namespace {

TEST(Utf8Text, DecodesWellFormedCharactersAndRejectsTheRest) {
  struct Case {
    std::string_view text;
    char32_t code;
    std::size_t length;
  };
  const Case cases[] = {
      {"a", 'a', 1},
      {"\xc3\xa9x", 0xE9, 2},
      {"\xe0\xa0\x80", 0x800, 3},        // the lowest three-byte character
      {"\xed\x9f\xbf", 0xD7FF, 3},       // just below the surrogates
      {"\xef\xbf\xbd", 0xFFFD, 3},       // U+FFFD itself, well-formed
      {"\xf0\x90\x80\x80", 0x10000, 4},  // the lowest four-byte character
      {"\xf4\x8f\xbf\xbf", 0x10FFFF, 4},
      {"\x80", 0xFFFD, 1},              // a continuation byte alone
      {"\xc1\xbf", 0xFFFD, 1},          // overlong two-byte form
      {"\xe0\x9f\xbf", 0xFFFD, 1},      // overlong three-byte form
      {"\xed\xa0\x80", 0xFFFD, 1},      // a surrogate
      {"\xf0\x8f\xbf\xbf", 0xFFFD, 1},  // overlong four-byte form
      {"\xf4\x90\x80\x80", 0xFFFD, 1},  // beyond U+10FFFF
      {"\xf5\x80\x80\x80", 0xFFFD, 1},
      {"\xe2\x82", 0xFFFD, 1},      // cut short
      {"\xe2\x28\xa1", 0xFFFD, 1},  // a second byte that continues nothing
  };
  for (const auto& [text, code, length] : cases) {
    std::size_t read = 0;
    EXPECT_EQ(DecodeUtf8(text, 0, read), code) << text;
    EXPECT_EQ(read, length) << text;
  }
  // Decoding starts where it is told and reads no further than the text.
  std::size_t read = 0;
  EXPECT_EQ(DecodeUtf8(std::string_view("x\xc3\xa9\xc3", 4), 3, read), 0xFFFDu);
  EXPECT_EQ(read, 1u);
  EXPECT_EQ(DecodeUtf8("x\xc3\xa9", 1, read), 0xE9u);
  EXPECT_EQ(read, 2u);
}

TEST(Utf8Text, InvalidBytesBecomeReplacementCharacters) {
  const std::pair<std::string, std::string> cases[] = {
      {"plain", "plain"},
      {"caf\xc3\xa9 \xf0\x9f\x98\x80", "caf\xc3\xa9 \xf0\x9f\x98\x80"},
      {"caf\xe9", "caf\xef\xbf\xbd"},
      {"\xc0\xaf", "\xef\xbf\xbd\xef\xbf\xbd"},                  // overlong
      {"\xed\xa0\x80", "\xef\xbf\xbd\xef\xbf\xbd\xef\xbf\xbd"},  // surrogate
      {"\xe2\x82", "\xef\xbf\xbd\xef\xbf\xbd"},                  // cut short
  };
  for (const auto& [in, out] : cases) EXPECT_EQ(ReplaceInvalidUtf8(in), out) << in;
}

TEST(Utf8Text, Windows1252HoldsWhatItCanAndReferencesTheRest) {
  EXPECT_EQ(Utf8ToWindows1252("a\xc3\xa9\xe2\x82\xac\xc5\x93\xc4\x81\xf0\x9f\x98\x80"),
            "a\xe9\x80\x9c&#257;&#128512;");
  EXPECT_EQ(Utf8ToWindows1252("\xff"), "&#65533;");
}

}  // namespace
}  // namespace tagwright
