#include "scan/character_references.h"

#include <gtest/gtest.h>

#include "scan/markup_encoding.h"

namespace tagwright {
namespace {

std::string Decoded(std::string line) {
  DecodeCharacterReferences(line);
  return line;
}

TEST(CharacterReferences, DecodeToSpellingsOrBlanks) {
  const struct {
    const char* line;
    const char* decoded;
  } cases[] = {
      {"a &amp; b", "a   b"},
      {"&rsquo;s &ldquo;x&rdquo; &mdash;&hellip;", " s  x    "},
      {"&lt;b&gt;", " b "},
      {"caf&#233; caf&#xe9; caf&#Xe9 x", "cafe cafe cafe x"},
      {"&oslash; &thorn;orn &oelig; &lstrok; &eth; &aelig;", "o thorn oe l d ae"},
      {"&uuml;&szlig;&eacute", "uesse"},
      {"&#65;&#x62;&#48;", "ab "},
      // Without ";" only the names HTML allows so, longest first.
      {"&copy 2020 &ampx &notit; &notin;", "  2020  x  it;  "},
      // Out of range, surrogates and zero are no characters; 128 to 159 as Windows-1252.
      {"&#0;&#xd800;&#1114112;&#99999999999999999999;", "    "},
      {"&#156;&#150;&#138;", "oe s"},
      // Not references: they stay.
      {"&foo; a & b &#; &#x; &", "&foo; a & b &#; &#x; &"},
  };
  for (const auto& c : cases) EXPECT_EQ(Decoded(c.line), c.decoded) << c.line;
}

TEST(CharacterReferences, AfterTheFixedTableInEncoding) {
  std::string line = "&lt;b&gt;bold&lt;/b&gt; &&agrave;acute; &amp;nbsp;";
  EncodeMarkup(line);
  // No reference makes a tag or a marker; the table's cascade comes first; a decoded "&" is
  // never read again.
  EXPECT_EQ(line, " b bold /b  a  nbsp;");
}

}  // namespace
}  // namespace tagwright
