// The modern reading's rules for what counts: inflections merged by stem, code examples,
// page furniture, link-dense blocks and the widths of Chinese, Japanese and Korean words.
#include <gtest/gtest.h>
#include <unicode/uchar.h>

#include <string>
#include <vector>

#include "scan/link_density.h"
#include "scan/modern_reading.h"
#include "scan_fixture.h"
#include "util/unicode_text.h"
#include "util/utf8_text.h"
#include "words/stop_words.h"
#include "words/word_stems.h"

namespace tagwright::test {
namespace {

TEST(ModernTextRules, InflectionsMergeUnderTheirStemShownInTheFormUsedMost) {
  struct Case {
    std::string page;
    std::string shown;
    std::int64_t frequency;
    std::vector<std::string> absent;
  };
  const std::vector<Case> cases = {
      {"<p>tomatoes tomato tomatoes</p>", "tomatoes", 3, {"tomato"}},
      {"<p>variety varieties variety</p>", "variety", 3, {"varieties"}},
      // Words that a filter drops (-ed, -ing) stay dropped.
      {"<p>matches match matched matching match</p>", "match", 3, {"matches", "matching"}},
      {"<html lang=\"de\"><p>Programme Programm Programme</p>", "programme", 3, {"programm"}},
      // Languages without a stemmer keep the plural merge.
      {"<html lang=\"ja\"><p>cats cat cats</p>", "cat", 3, {"cats"}},
  };
  for (const Case& c : cases) {
    Scan s(ModernSettings());
    s.Lines({c.page});
    EXPECT_EQ(s.Frequency(c.shown), c.frequency) << c.page;
    for (const std::string& other : c.absent) EXPECT_EQ(s.Frequency(other), 0) << c.page;
  }
  // The default reading merges only a final "s".
  Scan classic;
  classic.Lines({"<p>varieties variety variety"});
  EXPECT_EQ(classic.Frequency("variety"), 2);
  EXPECT_EQ(classic.Frequency("varieties"), 1);
}

TEST(ModernTextRules, StemmerFollowsThePageLanguage) {
  WordStemmer stemmer;
  EXPECT_TRUE(stemmer.SetLanguage("pt-BR"));
  EXPECT_EQ(stemmer.Language(), "pt");
  EXPECT_TRUE(stemmer.SetLanguage("EN"));
  EXPECT_EQ(stemmer.Stem("varieties"), "varieti");
  EXPECT_FALSE(stemmer.SetLanguage("zh-CN"));
  EXPECT_EQ(stemmer.Stem("varieties"), "varieties");
  EXPECT_FALSE(stemmer.SetLanguage("x!"));
  // Merged words sum their counts, show their most frequent form and are ranked again.
  RankedWords ranked = {{"runs", 1, 9}, {"walk", 2, 8}, {"running", 2, 4}, {"run", 1, 1}};
  stemmer.SetLanguage("en");
  const RankedWords merged = MergeByStem(ranked, stemmer, 1, false);
  ASSERT_EQ(merged.size(), 2u);
  EXPECT_EQ(merged[0].word, "running");
  EXPECT_EQ(merged[0].frequency, 4);
  EXPECT_EQ(merged[0].keyValue, 14);
  EXPECT_EQ(merged[1].word, "walk");
  // The minimum frequency applies to the merged word; percent of the highest that is kept.
  const RankedWords kept = MergeByStem(ranked, stemmer, 3, true);
  ASSERT_EQ(kept.size(), 1u);
  EXPECT_EQ(kept[0].keyValue, 100);
}

TEST(ModernTextRules, CodeExamplesDoNotCount) {
  Scan s(ModernSettings());
  s.Lines({"<p>The struct keeps a buffer.</p>",
           "<pre>struct buffer { const char *letters; }</pre> <code class=\"x\">println</code>",
           "<kbd>ctrl</kbd> <samp>output</samp> <var>count</var> <tt>typedef</tt> prose"});
  for (const char* code : {"const", "letters", "println", "ctrl", "output", "count", "typedef"}) {
    EXPECT_EQ(s.Frequency(code), 0) << code;
  }
  // Code signatures that documentation generators mark by class count as code too, up to the
  // end of their element.
  s.Lines(
      {"<h3 class=\"fn\">bool <b>isEmpty</b>() const</h3> <h4 class=\"code-header\">impl "
       "<div>trait</div> clone</h4> <td class=\"memItemLeft x\">void</td> <td>walrus</td>",
       "<h3 class=\"function\">walnut</h3>"});
  for (const char* code : {"bool", "isempty", "const", "impl", "trait", "clone", "void"}) {
    EXPECT_EQ(s.Frequency(code), 0) << code;
  }
  EXPECT_EQ(s.Frequency("walrus"), 1);
  EXPECT_EQ(s.Frequency("walnut"), 1);
  s.Lines({"<p>The struct keeps a buffer.</p>",
           "<pre>struct buffer { const char *letters; }</pre> <code class=\"x\">println</code>",
           "<kbd>ctrl</kbd> <samp>output</samp> <var>count</var> <tt>typedef</tt> prose"});
  // Words of the prose count from the prose only.
  EXPECT_EQ(s.Frequency("struct"), 1);
  EXPECT_EQ(s.Frequency("buffer"), 1);
  EXPECT_EQ(s.Frequency("prose"), 1);
}

TEST(ModernTextRules, PageFurnitureIsSkipped) {
  struct Case {
    std::string markup;
    bool counted;
  };
  const std::vector<Case> cases = {
      {"<header>zebra</header>", false},
      {"<footer>zebra</footer>", false},
      {"<aside>zebra</aside>", false},
      {"<main><header>zebra</header></main>", true},
      {"<article><footer>zebra</footer></article>", true},
      {"<div role=\"banner\">zebra</div>", false},
      {"<div role=\"contentinfo\">zebra</div>", false},
      {"<div role=\"complementary\">zebra</div>", false},
      {"<div role=\"search\">zebra</div>", false},
      {"<div role=\"note\">zebra</div>", true},
      {"<form action=\"x\"><p>zebra</p></form>", false},
      {"<button>zebra</button>", false},
      {"<select><option>zebra<option>other</select>", false},
      {"<label for=\"x\">zebra</label>", false},
  };
  for (const Case& c : cases) {
    Scan s(ModernSettings());
    s.Lines({c.markup + " <p>walrus</p>"});
    EXPECT_EQ(s.Frequency("zebra"), c.counted ? 1 : 0) << c.markup;
    EXPECT_EQ(s.Frequency("walrus"), 1) << c.markup;  // the skip ends with the element
  }
}

TEST(ModernTextRules, TextOutsideMainWeighsHalf) {
  Scan s(ModernSettings());
  s.Lines({"<title>zebra</title> <span>okapi</span>",
           "<main><span>tapir</span></main> <span>walrus</span>"},
          "<body><main>");
  EXPECT_EQ(s.Weight("tapir"), 3);
  EXPECT_EQ(s.Weight("okapi"), 1.5f);
  EXPECT_EQ(s.Weight("walrus"), 1.5f);
  EXPECT_EQ(s.Weight("zebra"), 51);  // the title is the page's own
  EXPECT_TRUE(HasMainElement("<BODY>\n<Article class=x>"));
  EXPECT_FALSE(HasMainElement("<mainly> <articles>"));
}

TEST(ModernTextRules, LinkDenseBlocksAreNavigation) {
  struct Case {
    std::string block;
    bool counted;
  };
  const std::vector<Case> cases = {
      // Three links and nearly all letters in them.
      {"<ul><li><a href=a>zebra</a><li><a href=b>lion</a><li><a href=c>tiger</a></ul>", false},
      {"<div><a href=a>zebra</a> <a href=b>lion</a> <a href=c>tiger</a> x</div>", false},
      // Two links only.
      {"<div><a href=a>zebra</a> <a href=b>lion</a></div>", true},
      // Three links in a paragraph of prose.
      {"<p>The <a href=a>zebra</a> and <a href=b>lion</a> and <a href=c>tiger</a> live on "
       "the grassland together, far from the settlements of people.</p>",
       true},
      // Anchors without href are no links.
      {"<div><a name=a>zebra</a> <a name=b>lion</a> <a name=c>tiger</a></div>", true},
  };
  for (const Case& c : cases) {
    Scan s(ModernSettings());
    s.Lines({c.block, "<p>walrus</p>"});
    EXPECT_EQ(s.Frequency("zebra"), c.counted ? 1 : 0) << c.block;
    EXPECT_EQ(s.Frequency("walrus"), 1) << c.block;
  }
}

// Records what LinkDensity hands on.
struct Collected final : HeldWordSink {
  void CountHeld(std::string_view, std::string_view word, float) override {
    words.emplace_back(word);
  }
  std::vector<std::string> words;
};

TEST(ModernTextRules, LinkDensityHoldsBoundedAndFlushes) {
  Collected sink;
  LinkDensity blocks(sink);
  blocks.Open("div");
  for (std::size_t i = 0; i < LinkDensity::kMaxHeld + 10; ++i) blocks.Hold("w", "w", 1);
  // Past the bound, the held words count at once.
  EXPECT_EQ(sink.words.size(), LinkDensity::kMaxHeld);
  blocks.Close("span");  // no open block of that name: nothing happens
  EXPECT_EQ(sink.words.size(), LinkDensity::kMaxHeld);
  blocks.Close("div");
  EXPECT_EQ(sink.words.size(), LinkDensity::kMaxHeld + 10);
  EXPECT_FALSE(blocks.Holding());
  // An unclosed li ends at the next one; the words left at the end are counted by Flush.
  blocks.Open("li");
  blocks.Hold("a", "a", 1);
  blocks.Open("li");
  blocks.Hold("b", "b", 1);
  blocks.Flush();
  EXPECT_EQ(sink.words.size(), LinkDensity::kMaxHeld + 12);
  EXPECT_FALSE(blocks.Holding());
}

// The letters taken as wide and caseless without asking ICU must be so by ICU's own data,
// character by character.
TEST(ModernTextRules, CommonWideLettersAgreeWithUnicodeData) {
  for (char32_t c = 0x3000; c < 0xD800; ++c) {
    if (!IsCommonWideLetter(c)) continue;
    const auto kind = static_cast<UEastAsianWidth>(
        u_getIntPropertyValue(static_cast<UChar32>(c), UCHAR_EAST_ASIAN_WIDTH));
    ASSERT_TRUE(kind == U_EA_WIDE || kind == U_EA_FULLWIDTH) << std::hex << +c;
    ASSERT_EQ(u_tolower(static_cast<UChar32>(c)), static_cast<UChar32>(c)) << std::hex << +c;
    std::string utf8;
    AppendCodePoint(utf8, static_cast<std::uint32_t>(c));
    ASSERT_EQ(DisplayWidth(utf8), 2u) << std::hex << +c;
  }
  EXPECT_FALSE(IsCommonWideLetter(0x3040));  // unassigned
  EXPECT_TRUE(IsCommonWideLetter(0x3042));   // あ
  EXPECT_TRUE(IsCommonWideLetter(0xD55C));   // 한
}

TEST(ModernTextRules, LowerCaseAgreesWithUnicodeData) {
  for (char32_t c = 0; c <= 0x10FFFF; ++c) {
    ASSERT_EQ(LowerCodePoint(c), static_cast<char32_t>(u_tolower(static_cast<UChar32>(c))))
        << std::hex << +c;
  }
}

// Below U+1100 no character is wide: the width is counted there without asking ICU.
TEST(ModernTextRules, NoCharacterBelowHangulJamoIsWide) {
  for (char32_t c = 0; c < 0x1100; ++c) ASSERT_FALSE(IsWideCharacter(c)) << std::hex << +c;
  EXPECT_TRUE(IsWideCharacter(0x1100));  // the first Hangul Jamo
}

// The letters answered without ICU are letters by ICU too, and no other code point changes.
TEST(ModernTextRules, WordCodePointsAgreeWithUnicodeData) {
  for (char32_t c = 0; c <= 0x10FFFF; ++c) {
    const auto code = static_cast<UChar32>(c);
    const bool letter =
        u_hasBinaryProperty(code, UCHAR_ALPHABETIC) || (U_GET_GC_MASK(code) & U_GC_M_MASK) != 0;
    ASSERT_EQ(IsWordCodePoint(c), letter) << std::hex << +c;
  }
}

TEST(ModernTextRules, WideCharactersCountTwoColumns) {
  struct Case {
    const char* text;
    std::size_t width;
  };
  const Case cases[] = {
      {"abc", 3},
      {"\xe4\xb8\xad\xe6\x96\x87", 4},  // 中文
      {"\xed\x95\x9c", 2},              // 한
      {"\xef\xbd\x81", 2},              // fullwidth a
      {"\xd0\xb4\xd0\xbe\xd0\xbc", 3},  // дом
      {"\xef\xbd\xb1", 1},              // halfwidth katakana
      {"\xff", 1},                      // no character
  };
  for (const Case& c : cases) {
    EXPECT_EQ(DisplayWidth(c.text), c.width) << c.text;
    // Counted only as far as a limit: exact up to it, and above it beyond.
    EXPECT_EQ(DisplayWidthUpTo(c.text, c.width), c.width) << c.text;
    EXPECT_GT(DisplayWidthUpTo(c.text, c.width - 1), c.width - 1) << c.text;
  }
  Scan s(ModernSettings());
  s.settings.ignoreShortWords = true;
  s.settings.shortWordSize = 3;
  s.Lines(
      {"<html lang=\"zh\"><p>\xe4\xb8\xad\xe6\x96\x87 \xe4\xb8\xad\xe6\x96\x87 \xd0\xb4\xd0\xbe"
       "\xd0\xbc</p>"});
  EXPECT_EQ(s.Frequency("\xe4\xb8\xad\xe6\x96\x87"), 2);
  EXPECT_EQ(s.Frequency("\xd0\xb4\xd0\xbe\xd0\xbc"), 0);
}

TEST(ModernTextRules, ScriptsOfChineseJapaneseAndKorean) {
  struct Case {
    std::string head;
    std::string language;
    bool otherScripts;
  };
  const std::vector<Case> cases = {
      {"<p>\xe4\xb8\xad\xe6\x96\x87\xe7\xbd\x91\xe9\xa1\xb5 html</p>", "zh", true},
      {"<p>\xe6\x97\xa5\xe6\x9c\xac\xe8\xaa\x9e\xe3\x81\xae\xe3\x83\x9a\xe3\x83\xbc\xe3\x82\xb8</"
       "p>",
       "ja", true},
      {"<p>\xed\x95\x9c\xea\xb5\xad\xec\x96\xb4 \xed\x8e\x98\xec\x9d\xb4\xec\xa7\x80</p>", "ko",
       true},
      {"<p>an English page that quotes \xe4\xb8\xad\xe6\x96\x87 once</p>", "", false},
      {"<p>\xd0\x9c\xd0\xbe\xd1\x81\xd0\xba\xd0\xb2\xd0\xb0</p>", "", true},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(GuessLanguage(c.head), c.language) << c.head;
    EXPECT_EQ(IsMostlyOtherScripts(c.head), c.otherScripts) << c.head;
  }
  // The Korean common words are known.
  EXPECT_TRUE(IsStopWord("ko", "\xea\xb7\xb8\xeb\x9f\xac\xeb\x82\x98"));  // 그러나
}

}  // namespace
}  // namespace tagwright::test
