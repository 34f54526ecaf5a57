#include "util/charset.h"

#include <gtest/gtest.h>
#include <iconv.h>

#include <string>
#include <vector>

#include "support/temp_dir.h"

namespace tagwright {
namespace {

// `utf8` written in `charset` by the system's converter.
std::string Encode(const std::string& utf8, const char* charset) {
  iconv_t cd = iconv_open(charset, "UTF-8");
  // iconv_open reports failure as (iconv_t)-1.
  EXPECT_NE(cd, reinterpret_cast<iconv_t>(-1)) << charset;  // NOLINT(performance-no-int-to-ptr)
  std::string out(utf8.size() * 4 + 16, '\0');
  char* in = const_cast<char*>(utf8.data());
  std::size_t inLeft = utf8.size();
  char* outAt = out.data();
  std::size_t outLeft = out.size();
  EXPECT_NE(iconv(cd, &in, &inLeft, &outAt, &outLeft), static_cast<std::size_t>(-1)) << charset;
  iconv_close(cd);
  out.resize(out.size() - outLeft);
  return out;
}

std::vector<std::string> Lines(const std::string& path) {
  PageReader reader;
  EXPECT_TRUE(reader.Open(path));
  std::vector<std::string> lines;
  std::string line;
  while (reader.Next(line)) lines.push_back(line);
  EXPECT_EQ(reader.Error(), "");
  return lines;
}

const std::string kRussian =
    "Москва - столица России, город федерального значения, административный центр "
    "Центрального федерального округа и центр Московской области, в состав которой не входит. "
    "Крупнейший по численности населения город России и её субъект.";

TEST(Charset, DeclaredByByteOrderMarkOrMetaTag) {
  const struct {
    std::string head;
    std::string charset;
  } cases[] = {
      {"\xEF\xBB\xBF<p>x", "utf-8"},
      {std::string("\xFF\xFE<\0p\0", 6), "utf-16le"},
      {std::string("\xFE\xFF\0<\0p", 6), "utf-16be"},
      {"<html><head><META CHARSET=\"KOI8-R\"><title>", "koi8-r"},
      {"<meta charset=windows-1251>", "windows-1251"},
      {"<meta\thttp-equiv=\"Content-Type\" content=\"text/html; charset=Shift_JIS\">", "shift_jis"},
      {"<meta content='text/html;charset=iso-8859-7' http-equiv='content-type'>", "iso-8859-7"},
      {"<meta charset=\"utf-16\">", "utf-8"},
      // Not declarations: in a comment, a content without http-equiv, past 1,024 bytes.
      {"<!-- <meta charset=\"koi8-r\"> --><p>", ""},
      {"<meta name=\"x\" content=\"charset=koi8-r\">", ""},
      {std::string(1024, ' ') + "<meta charset=\"koi8-r\">", ""},
      {"<p>charset=koi8-r</p>", ""},
  };
  for (const auto& c : cases) EXPECT_EQ(DeclaredCharset(c.head), c.charset) << c.head;
}

TEST(Charset, GuessOnlyForNonLatinScriptsWithoutDeclaration) {
  // Western pages read as before: declared, valid UTF-8, or guessed as a Latin charset.
  EXPECT_EQ(ConversionCharset("<meta charset=\"iso-8859-1\"><p>caf\xe9"), "");
  EXPECT_EQ(ConversionCharset("<p>" + kRussian), "");
  const std::string german = Encode(
      "Über die Brücke gehen Fußgänger täglich, während Radfahrer die Straße nördlich nutzen. "
      "Die Größe der Städte wächst.",
      "WINDOWS-1252");
  EXPECT_EQ(ConversionCharset("<p>" + german), "");
  // Non-Latin scripts in legacy charsets are guessed.
  EXPECT_EQ(ConversionCharset("<p>" + Encode(kRussian, "WINDOWS-1251")), "windows-1251");
  EXPECT_FALSE(ConversionCharset("<p>" + Encode(kRussian, "KOI8-R")).empty());
  // A declaration wins over any guess.
  EXPECT_EQ(ConversionCharset("<meta charset=\"koi8-r\">" + Encode(kRussian, "WINDOWS-1251")),
            "koi8-r");
}

TEST(Charset, PagesReadAsUtf8LineByLine) {
  test::TempDir dir;
  // Declared legacy charset: converted; CR LF still ends lines.
  const std::string polish = "<meta charset=\"iso-8859-2\">\r\nŁódź zażółć\r\ngęślą";
  EXPECT_EQ(Lines(dir.Write("pl.html", Encode(polish, "ISO-8859-2"))),
            (std::vector<std::string>{"<meta charset=\"iso-8859-2\">", "Łódź zażółć", "gęślą"}));
  // UTF-16 with its byte order mark, longer than one chunk.
  std::string big = "<p>Grüße\n";
  while (big.size() < 3 * kCharsetGuessBytes) big += "Köln und Zürich\n";
  const auto lines = Lines(dir.Write("u16.html", Encode(big, "UTF-16")));
  ASSERT_GT(lines.size(), 2u);
  EXPECT_EQ(lines[0], "<p>Grüße");
  EXPECT_EQ(lines[1], "Köln und Zürich");
  EXPECT_EQ(lines.back(), "Köln und Zürich");
  EXPECT_EQ(lines.size(), static_cast<std::size_t>(std::count(big.begin(), big.end(), '\n')));
  // A byte that is no character of the charset loses only itself.
  EXPECT_EQ(
      Lines(dir.Write("sjis.html", "<meta charset=\"shift_jis\">\n\x82\xa0 ok \x82 \xff tail")),
      (std::vector<std::string>{"<meta charset=\"shift_jis\">",
                                "あ ok \xEF\xBF\xBD \xEF\xBF\xBD tail"}));
  // A charset the system does not know: read the default way.
  EXPECT_EQ(Lines(dir.Write("x.html", "<meta charset=\"x-no-such\">\ncaf\xe9")),
            (std::vector<std::string>{"<meta charset=\"x-no-such\">", "caf\xe9"}));
}

}  // namespace
}  // namespace tagwright
