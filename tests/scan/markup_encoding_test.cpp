#include "scan/markup_encoding.h"

#include <gtest/gtest.h>

#include <random>

namespace tagwright {
namespace {

std::string Encoded(std::string line) {
  EncodeMarkup(line);
  return line;
}

TEST(MarkupEncoding, TagsBecomeMarkersAndEntitiesLetters) {
  EXPECT_EQ(Encoded("<b>cheap</b>&nbsp;flights"),
            "\x0b"
            "cheap\x0c flights");
  EXPECT_EQ(Encoded("m&auml;nner"), "maenner");
  EXPECT_EQ(Encoded("caf&eacute;"), "cafe");
  EXPECT_EQ(Encoded("<h1>title</h1>"), "\x06title\x07");
  EXPECT_EQ(Encoded("<h1 id=\"x\">title</h1>"), "<h1 id=\"x\">title\x07");
  EXPECT_EQ(Encoded("a &amp; b"), "a   b");
  EXPECT_EQ(Encoded("&laquo;quoted&raquo;"), "\"quoted\"");
  EXPECT_EQ(Encoded("<title>x</title><h6>y</h5>"), "\x0ex\x0f\x01y\x07");
  EXPECT_EQ(Encoded("<b class=\"c\">x</b >"), "<b class=\"c\">x</b >");
}

TEST(MarkupEncoding, AccentedLettersWrittenDirectly) {
  // UTF-8: the letters the entity table knows, in either case.
  EXPECT_EQ(Encoded("m\xc3\xbcller caf\xc3\xa9 \xc3\x84rger \xc3\x9f \xc5\xb8"),
            "mueller cafe aerger ss y");
  // Other Latin letters too; characters that are no Latin letters stay as they are.
  EXPECT_EQ(Encoded("\xc3\xb8 \xe2\x82\xac \xc5\x82\xc3\xbe \xe1\xba\xa1 \xd0\xb6"),
            "o \xe2\x82\xac lth a \xd0\xb6");
  // Not valid UTF-8: read as Windows-1252, with the same spellings.
  EXPECT_EQ(Encoded("m\xfcller caf\xe9 \x9f \xd7 \xf8 \x9c\xfe"), "mueller cafe y \xd7 o oeth");
  // Without letters that become two, and with them far apart in long lines.
  EXPECT_EQ(Encoded("caf\xe9 \x9f \xd7 \xf8 \x80"), "cafe y \xd7 o \x80");
  const std::string plain(30, 'p');
  EXPECT_EQ(Encoded(plain + "\xe4" + plain + "\xe9" + plain + "\xdf"),
            plain + "ae" + plain + "e" + plain + "ss");
  EXPECT_EQ(Encoded(plain + "\xc3\xa4" + plain + "\xc3\xa9" + plain + "\xc5\xb8"),
            plain + "ae" + plain + "e" + plain + "y");
}

// A line that is not UTF-8 and whose letters become two grows where it stands: the letters at
// either end, side by side, and among bytes that stay.
TEST(MarkupEncoding, Windows1252LettersThatBecomeTwoAnywhereInTheLine) {
  struct Byte {
    char byte;
    std::string_view spelled;
  };
  const Byte kBytes[] = {{'a', "a"},       {'\xe4', "ae"}, {'\xe9', "e"},
                         {'\xd7', "\xd7"}, {'\xdf', "ss"}, {' ', " "}};
  std::mt19937 random(7);
  for (int round = 0; round < 2000; ++round) {
    std::string line;
    std::string expected;
    // A byte that makes the line no UTF-8, so that it is read as Windows-1252.
    line += '\xe4';
    expected += "ae";
    for (std::size_t n = random() % 80; n > 0; --n) {
      const Byte& b = kBytes[random() % std::size(kBytes)];
      line += b.byte;
      expected += b.spelled;
    }
    EXPECT_EQ(Encoded(line), expected) << round;
  }
}

TEST(MarkupEncoding, EntityCompletedByAnEarlierReplacement) {
  // "&agrave;" becomes "a", which completes "&aacute;" for a later replacement.
  EXPECT_EQ(Encoded("&&agrave;acute;"), "a");
  EXPECT_EQ(Encoded("&a&agrave;cute;x"), "ax");
  // The replaced text is not searched again by the same replacement; the reference it leaves
  // is decoded with the others after the table.
  EXPECT_EQ(Encoded("&&aacute;acute;"), "a");
  // Two replacements, each ending in its own ";", together complete an entity that began
  // before them; and the same far into a long line.
  EXPECT_EQ(Encoded("&&agrave;&agrave;cute;"), "a");
  const std::string text(300, 't');
  EXPECT_EQ(Encoded(text + "&&agrave;&agrave;cute; x&y " + text), text + "a x&y " + text);
}

// The one-pass encoding must equal the literal replacements applied one after the other. Both
// read the same table, so this checks the order of the passes and the cascade; the rows
// themselves are checked against values written out in encoding_tables_test.cpp.
TEST(MarkupEncoding, OnePassEqualsReplacementsInOrder) {
  const std::vector<std::string> pieces = {
      "&",        ";",      "a",        "acute;", "grave;", "&agrave;", "&aacute;", "&e",
      "&egrave;", "uml;",   "&yacute;", "<",      ">",      "b",        "/",        "<b>",
      "</h1>",    "&nbsp;", "&#160;",   "&quot;", "title",  "<title>",  "&szlig;",  "\xc3\xa9",
      "\xe9",     "x",      " ",        "</",     "<h",     "h2>",      "<t"};
  std::mt19937 random(7);
  for (int round = 0; round < 20200; ++round) {
    std::string line;
    // Long enough lines for the sixteen-character steps of the search; the last rounds make
    // lines of many places where entities may cascade, apart and side by side.
    const int count = 1 + static_cast<int>(random() % (round < 20000 ? 40 : 4000));
    for (int i = 0; i < count; ++i) line += pieces[random() % pieces.size()];
    std::string byPasses = line;
    EncodeMarkupByPasses(byPasses);
    ASSERT_EQ(Encoded(line), byPasses) << "line: " << line;
  }
}

}  // namespace
}  // namespace tagwright
