#include "scan/modern_reading.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "scan_fixture.h"

namespace tagwright::test {
namespace {

TEST(ModernReading, TagsWithAttributesOpenTheirContexts) {
  const std::vector<std::string> page = {"<title class=\"t\">alpha</title>",
                                         "<h2 id=\"x\">bravo</h2 > <h1>charlie</h1>",
                                         "<b class=\"k\">delta</b > <strong>echo</strong> foxtrot"};
  Scan modern(ModernSettings());
  modern.Lines(page);
  EXPECT_EQ(modern.Weight("alpha"), 51);
  EXPECT_EQ(modern.Weight("bravo"), 8);
  EXPECT_EQ(modern.Weight("charlie"), 9);
  EXPECT_EQ(modern.Weight("delta"), 6);
  EXPECT_EQ(modern.Weight("echo"), 6);
  EXPECT_EQ(modern.Weight("foxtrot"), 3);
  // The default reading stays as it was: only the exact tags count.
  Scan classic;
  classic.Lines(page);
  EXPECT_EQ(classic.Weight("alpha"), 3);
  EXPECT_EQ(classic.Weight("bravo"), 3);
  EXPECT_EQ(classic.Weight("echo"), 3);
  EXPECT_EQ(classic.Weight("charlie"), 9);
}

TEST(ModernReading, ChapterLabelsOfTitlesAndHeadingsAreNoWords) {
  Scan s(ModernSettings());
  s.Lines({"<title>Chapter 3. Routers</title>",
           "<h1 class=\"title\"><a id=\"n\"></a>\xd0\x93\xd0\xbb\xd0\xb0\xd0\xb2\xd0\xb0 "
           "1.2: Kernel</h1>",
           // A version, no number, a later word and a label outside a heading all stay.
           "<h2>Python 3.12 documentation</h2> <h2>Appendix tables</h2>",
           "<h3>Zebra Lantern 4. again</h3> <p>Kapitel 5. zebra</p>"});
  for (const char* label : {"chapter", "\xd0\xb3\xd0\xbb\xd0\xb0\xd0\xb2\xd0\xb0"}) {
    EXPECT_EQ(s.Weight(label), 0) << label;
  }
  EXPECT_EQ(s.Weight("routers"), 51);
  EXPECT_EQ(s.Weight("kernel"), 9);
  for (const char* kept : {"python", "appendix", "lantern", "kapitel"}) {
    EXPECT_GT(s.Weight(kept), 0) << kept;
  }
}

TEST(ModernReading, HiddenAndNavigationContentIsSkipped) {
  Scan s(ModernSettings());
  s.Lines({"<nav class=\"menu\"><a>home</a> <nav>inner</nav> about</nav> kiwi",
           "<svg><title>vector</title><text>glyph</text></svg> <template><p>tmpl</p></template>",
           "<noscript>enable javascript</noscript><div hidden>secret <div>deep</div> more</div>",
           "<span aria-hidden=\"true\">icon</span><ul role=\"navigation\"><li>menu",
           "</li></ul><img hidden src=\"x\"> melon <p hidden>para <p>mango <br/> <b hidden>",
           "bold</b> zulu <svg/> papaya <div class=\"x navheader\">prev <div>up</div></div>",
           "<div class=\"navfooter\">next</div> <div class=\"navigation\">lime</div>"});
  for (const char* gone :
       {"home", "inner", "about", "vector", "glyph", "tmpl", "enable", "javascript", "secret",
        "deep", "more", "icon", "menu", "para", "bold", "prev", "up", "next"}) {
    EXPECT_EQ(s.Frequency(gone), 0) << gone;
  }
  for (const char* kept : {"kiwi", "melon", "mango", "zulu", "papaya", "lime"}) {
    EXPECT_EQ(s.Frequency(kept), 1) << kept;
  }
  EXPECT_EQ(s.Weight("vector"), 0);
  EXPECT_EQ(s.Weight("zulu"), 3);  // the title inside the svg left no context open
}

TEST(ModernReading, WordsInEveryScript) {
  Scan s(ModernSettings());
  s.settings.ignoreCommonWords = false;
  s.Lines({"<p>Москва СТОЛИЦА России. Москва. Müller MÜLLER caf\xc3\xa9",
           "東京は日本の首都です。 ภาษาไทยง่ายมาก Ελλάδα", "ab\xe9 q\xd7z"});
  EXPECT_EQ(s.Frequency("москва"), 2);
  EXPECT_EQ(s.Frequency("столица"), 1);
  EXPECT_EQ(s.Frequency("mueller"), 2);
  EXPECT_EQ(s.Frequency("cafe"), 1);
  EXPECT_EQ(s.Frequency("東京"), 1);
  EXPECT_EQ(s.Frequency("日本"), 1);
  EXPECT_EQ(s.Frequency("ภาษา"), 1);
  EXPECT_EQ(s.Frequency("ελλάδα"), 1);
  // A line that is not UTF-8 is read as Windows-1252: its letters too.
  EXPECT_EQ(s.Frequency("abe"), 1);
  EXPECT_EQ(s.Frequency("q"), 1);
  EXPECT_EQ(s.Frequency("z"), 1);
}

std::vector<std::string> SplitWords(WordSplitter& splitter, std::string_view run) {
  std::vector<std::string> words;
  splitter.Split(run, [&](std::string_view word) { words.emplace_back(word); });
  return words;
}

// Dictionary breaks are remembered per run: a run split again, from memory or after the
// memory was emptied, gives the same words, and a run that differs by one character is split
// on its own.
TEST(WordSplitter, RememberedBreaksGiveTheSameWords) {
  WordSplitter splitter;
  const std::string run = "東京は日本の首都です";
  const std::vector<std::string> first = SplitWords(splitter, run);
  ASSERT_GT(first.size(), 2u);
  EXPECT_EQ(SplitWords(splitter, run), first);
  EXPECT_EQ(SplitWords(splitter, run.substr(0, run.size() - 3)).back(), "で");
  EXPECT_EQ(SplitWords(splitter, "京都は日本の古都です").front(), "京都");
  // Enough distinct runs to pass the memory's budget and empty it.
  std::string other = "日本語";
  for (int i = 0; i < 20000; ++i) {
    const std::string many = other + std::to_string(i) + std::string(200, 'a') + "です";
    SplitWords(splitter, many);
  }
  EXPECT_EQ(SplitWords(splitter, run), first);
}

TEST(ModernReading, ShortWordsCountCharacters) {
  Settings settings = ModernSettings();
  Scan s(settings);
  s.settings.ignoreShortWords = true;
  s.settings.shortWordSize = 3;
  s.Lines({"<p>дом кот книга über für ähm"});
  EXPECT_EQ(s.Frequency("дом"), 0);  // three letters, six bytes: short
  EXPECT_EQ(s.Frequency("книга"), 1);
  EXPECT_EQ(s.Frequency("ueber"), 1);  // four letters
}

TEST(ModernReading, TagTextIsReadFromItsName) {
  EXPECT_EQ(TagName("h2 id=\"x\""), "h2");
  EXPECT_EQ(TagName("/strong "), "/strong");
  const ModernTag html = ReadModernTag("html lang=\" de-DE \" dir=ltr");
  EXPECT_TRUE(html.hasLanguage);
  EXPECT_EQ(html.language, "de-DE");
  // Attributes that only look like the ones sought.
  EXPECT_FALSE(ReadModernTag("div data-hidden=\"1\" class=\"hidden\"").skipsContent);
  EXPECT_FALSE(ReadModernTag("div aria-hidden=\"false\"").skipsContent);
  EXPECT_FALSE(ReadModernTag("a role=\"navigationbar\"").skipsContent);
  EXPECT_TRUE(ReadModernTag("div aria-hidden = 'true'").skipsContent);
  EXPECT_FALSE(ReadModernTag("html").hasLanguage);
}

}  // namespace
}  // namespace tagwright::test

namespace tagwright::test {
namespace {

TEST(ModernReading, CommonWordsOfThePageLanguage) {
  const std::vector<std::string> page = {"<html lang=\"de-DE\"><body>",
                                         "<p>Die Brücke für Fußgänger und Radfahrer werden über",
                                         "the Brücke"};
  Scan modern(ModernSettings());
  modern.settings.ignoreShortWords = true;
  modern.Lines(page);
  for (const char* common : {"die", "fuer", "und", "werden", "ueber", "the"}) {
    EXPECT_EQ(modern.Frequency(common), 0) << common;
  }
  EXPECT_EQ(modern.Frequency("bruecke"), 2);
  EXPECT_EQ(modern.Frequency("fussgaenger"), 1);
  // Without the common-word filter, and in the default reading, they count.
  Scan all(ModernSettings());
  all.settings.ignoreCommonWords = false;
  all.Lines(page);
  EXPECT_EQ(all.Frequency("fuer"), 1);
  Scan classic;
  classic.Lines(page);
  EXPECT_EQ(classic.Frequency("fuer"), 1);
  EXPECT_EQ(classic.Frequency("the"), 0);
  // No lang: English.
  Scan english(ModernSettings());
  english.Lines({"<p>für the zebra"});
  EXPECT_EQ(english.Frequency("fuer"), 1);
  EXPECT_EQ(english.Frequency("the"), 0);
  // A word counted before the page declares its language is a common word after it.
  Scan switched(ModernSettings());
  switched.Lines({"<p>werden werden", "<html lang=\"de\">", "<p>werden"});
  EXPECT_EQ(switched.Frequency("werden"), 2);
}

TEST(ModernReading, UndeclaredLanguageIsGuessedFromThePage) {
  const std::string text =
      "<p>Die Paketverwaltung ist f\xc3\xbcr die Installation der Programme zust\xc3\xa4ndig. "
      "Wenn ein Paket installiert werden soll, muss es zuerst heruntergeladen werden, und dann "
      "wird es entpackt, damit alle Programme funktionieren.</p>\n";
  Settings settings = ModernSettings();
  settings.thresholdFrequency = 1;
  ScanObserver quiet;
  Analysis analysis(settings, quiet);
  const auto frequency = [&](const std::string& page, const char* word) {
    EXPECT_EQ(RunScan(PageLines(page), analysis, quiet).outcome, RunOutcome::Completed);
    for (const RankedWord& ranked : analysis.Ranked()) {
      if (ranked.word == word) return ranked.frequency;
    }
    return std::int64_t{0};
  };
  EXPECT_EQ(frequency(text, "werden"), 0);
  EXPECT_EQ(frequency(text, "programme"), 2);
  // A declared language is taken as it is.
  EXPECT_EQ(frequency("<html lang=\"en\">" + text, "werden"), 2);
}

}  // namespace
}  // namespace tagwright::test
