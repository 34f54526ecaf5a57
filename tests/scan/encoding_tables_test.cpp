// The encoding's data tables, checked row by row against values written out here, apart from
// the code's own tables: a wrong row in the code cannot also be wrong in the test.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "scan/markup_encoding.h"
#include "scan_fixture.h"
#include "util/text_encoding.h"

namespace tagwright {
namespace {

std::string Encoded(std::string line) {
  EncodeMarkup(line);
  return line;
}

std::string Utf8Of(char32_t c) {
  std::string out;
  if (c < 0x80) {
    out += static_cast<char>(c);
  } else if (c < 0x800) {
    out += static_cast<char>(0xC0 | (c >> 6));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else {
    out += static_cast<char>(0xE0 | (c >> 12));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  }
  return out;
}

struct Row {
  const char* sought;
  const char* replacement;
};

TEST(EncodingTables, EveryReplacementRowGivesItsText) {
  const std::vector<Row> rows = {
      {"&nbsp;", " "},      {"&#160;", " "},   {"&quot;", "\""},  {"&laquo;", "\""},
      {"&raquo;", "\""},    {"<b>", "\x0b"},   {"</b>", "\x0c"},  {"<title>", "\x0e"},
      {"</title>", "\x0f"}, {"<h1>", "\x06"},  {"</h1>", "\x07"}, {"<h2>", "\x05"},
      {"</h2>", "\x07"},    {"<h3>", "\x04"},  {"</h3>", "\x07"}, {"<h4>", "\x03"},
      {"</h4>", "\x07"},    {"<h5>", "\x02"},  {"</h5>", "\x07"}, {"<h6>", "\x01"},
      {"</h6>", "\x07"},    {"&auml;", "ae"},  {"&ouml;", "oe"},  {"&uuml;", "ue"},
      {"&szlig;", "ss"},    {"&agrave;", "a"}, {"&aacute;", "a"}, {"&acirc;", "a"},
      {"&atilde;", "a"},    {"&aring;", "a"},  {"&aelig;", "ae"}, {"&ccedil;", "c"},
      {"&egrave;", "e"},    {"&eacute;", "e"}, {"&ecirc;", "e"},  {"&euml;", "e"},
      {"&igrave;", "i"},    {"&iacute;", "i"}, {"&icirc;", "i"},  {"&iuml;", "i"},
      {"&eth;", "d"},       {"&ntilde;", "n"}, {"&ograve;", "o"}, {"&oacute;", "o"},
      {"&ocirc;", "o"},     {"&otilde;", "o"}, {"&ugrave;", "u"}, {"&uacute;", "u"},
      {"&ucirc;", "u"},     {"&yacute;", "y"}, {"&yuml;", "y"},
  };
  ASSERT_EQ(rows.size(), 51u);
  for (const Row& row : rows) {
    EXPECT_EQ(Encoded(std::string("x") + row.sought + "y"),
              std::string("x") + row.replacement + "y")
        << row.sought;
  }
}

struct Letter {
  char32_t lower;
  char32_t upper;  // 0 where the letter has no capital of its own here
  const char* text;
};

TEST(EncodingTables, AccentedLettersInBothCasesAndBothEncodings) {
  const std::vector<Letter> letters = {
      {0xE4, 0xC4, "ae"}, {0xF6, 0xD6, "oe"}, {0xFC, 0xDC, "ue"}, {0xDF, 0, "ss"},
      {0xE0, 0xC0, "a"},  {0xE1, 0xC1, "a"},  {0xE2, 0xC2, "a"},  {0xE3, 0xC3, "a"},
      {0xE5, 0xC5, "a"},  {0xE6, 0xC6, "ae"}, {0xE7, 0xC7, "c"},  {0xE8, 0xC8, "e"},
      {0xE9, 0xC9, "e"},  {0xEA, 0xCA, "e"},  {0xEB, 0xCB, "e"},  {0xEC, 0xCC, "i"},
      {0xED, 0xCD, "i"},  {0xEE, 0xCE, "i"},  {0xEF, 0xCF, "i"},  {0xF0, 0xD0, "d"},
      {0xF1, 0xD1, "n"},  {0xF2, 0xD2, "o"},  {0xF3, 0xD3, "o"},  {0xF4, 0xD4, "o"},
      {0xF5, 0xD5, "o"},  {0xF9, 0xD9, "u"},  {0xFA, 0xDA, "u"},  {0xFB, 0xDB, "u"},
      {0xFD, 0xDD, "y"},  {0xFF, 0x178, "y"},
  };
  ASSERT_EQ(letters.size(), 30u);
  for (const Letter& l : letters) {
    for (const char32_t c : {l.lower, l.upper}) {
      if (c == 0) continue;
      const std::string expected = std::string("x") + l.text + "y";
      EXPECT_EQ(Encoded("x" + Utf8Of(c) + "y"), expected) << "UTF-8 U+" << std::hex << +c;
      // In Windows-1252 the letter is one byte: its code point, or 0x9F for the capital Y.
      const char byte = static_cast<char>(c == 0x178 ? 0x9F : c);
      EXPECT_EQ(Encoded(std::string("x") + byte + "y"), expected)
          << "Windows-1252 U+" << std::hex << +c;
    }
  }
}

TEST(EncodingTables, Windows1252HighControlRangeCodePoints) {
  // 0x80 to 0x9F; U+FFFD for the five bytes that stand for nothing.
  const char32_t codes[32] = {0x20AC, 0xFFFD, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                              0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0xFFFD, 0x017D, 0xFFFD,
                              0xFFFD, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                              0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0xFFFD, 0x017E, 0x0178};
  for (int i = 0; i < 32; ++i) {
    const std::string byte(1, static_cast<char>(0x80 + i));
    EXPECT_EQ(Windows1252ToUtf8(byte), Utf8Of(codes[i])) << "byte 0x" << std::hex << 0x80 + i;
  }
  // The rest of the high half is ISO-8859-1.
  EXPECT_EQ(Windows1252ToUtf8("\xa0\xe9\xff"), Utf8Of(0xA0) + Utf8Of(0xE9) + Utf8Of(0xFF));
}

TEST(EncodingTables, EachHeadingLevelAddsItsOwnWeight) {
  // Plain text weighs 3; a level-1 heading adds 6, down to 1 for level 6.
  for (int level = 1; level <= 6; ++level) {
    test::Scan s;
    const std::string n = std::to_string(level);
    s.Lines({"<h" + n + ">lantern</h" + n + "> compass"});
    EXPECT_EQ(s.Weight("lantern"), static_cast<float>(3 + 7 - level)) << "h" << n;
    EXPECT_EQ(s.Weight("compass"), 3.0f) << "h" << n;
  }
}

TEST(EncodingTables, FontSizesRoundHalfToEven) {
  // A signed size is added to the 3 in force before the sum is rounded: 3 + 1.5 gives 4.
  const std::vector<std::pair<std::string, float>> sizes = {{"2.5", 2}, {"3.5", 4},  {"4.5", 4},
                                                            {"4.6", 5}, {"+1.5", 4}, {"6.49", 6}};
  for (const auto& [size, weight] : sizes) {
    test::Scan s;
    s.Lines({"<font size=" + size + ">marble</font>"});
    EXPECT_EQ(s.Weight("marble"), weight) << "size=" << size;
  }
}

}  // namespace
}  // namespace tagwright
