// Stray brackets in text and in attribute values: each loses at most its own tag.
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <string_view>

#include "scan/analysis.h"
#include "scan_fixture.h"

namespace tagwright::test {
namespace {

using WordValues = std::map<std::string, float>;

// Every word of `page` with its unscaled value, read as a run reads a page.
WordValues WordsOf(std::string_view page, bool modern) {
  Settings settings;
  settings.ignoreShortWords = false;
  settings.thresholdFrequency = 1;
  settings.modernMarkup = modern;
  ScanObserver quiet;
  Analysis analysis(settings, quiet);
  EXPECT_EQ(RunScan(PageLines(page), analysis, quiet).outcome, RunOutcome::Completed);
  WordValues words;
  for (const RankedWord& word : analysis.Table().Ranked()) {
    words.emplace(std::string(word.word), word.keyValue);
  }
  return words;
}

struct BracketCase {
  const char* page;
  WordValues words;  // the same in both readings
};

TEST(BracketRecovery, BracketsInValuesAndStrayBracketsHideNothingElse) {
  const BracketCase cases[] = {
      // A ">" in a font tag's value neither ends the tag nor loses its size.
      {"<font title=\"a>qb\" size=\"+2\">beacon</font> orange", {{"beacon", 5}, {"orange", 3}}},
      {"<font title='a>b' size=5>beacon</font>\n<font size=1 alt=\"<>\">orange</font>",
       {{"beacon", 5}, {"orange", 1}}},
      // A quoted value that goes on to the next lines holds their brackets.
      {"<a title=\"xylo\nyak>zulu\" href=x>lantern</a>", {{"lantern", 3}}},
      {"<img alt=\"start of\nthe note -> here\" width=3>river", {{"river", 3}}},
      {"<a title='one\ntwo > three\nfour <i>' href=x>lantern</a> river",
       {{"lantern", 3}, {"river", 3}}},
      {"<font face=\"serif\nbold>\" size=6>beacon</font> orange", {{"beacon", 3}, {"orange", 3}}},
      // The description goes on to the tag's end, past a ">" in a later value.
      {"<meta name=\"description\" content=\"zebra\" lang=\"a>qb\"> orange",
       {{"zebra", 27}, {"lang", 27}, {"qb", 27}, {"orange", 3}}},  // "a" is a common word
      {"<meta name=\"description\" content=\"zebra\nyak > zulu\"> orange",
       {{"zebra", 27}, {"yak", 27}, {"zulu", 27}, {"orange", 3}}},
      // A stray "<" hides nothing beyond its own line.
      {"garden < bravo <b>charlie</b> delta\nviolet marble",
       {{"garden", 3}, {"violet", 3}, {"marble", 3}}},
      {"garden < bravo\nviolet <i>marble</i>", {{"garden", 3}, {"violet", 3}, {"marble", 3}}},
      {"garden <bravo <b>charlie\nviolet", {{"garden", 3}, {"violet", 3}}},
      // A tag that goes on to the next line still hides its attributes there.
      {"<a\nhref=x>lantern</a>", {{"lantern", 3}}},
      {"<a title=\"<b>x</b>\"\nhref=y>lantern</a>", {{"lantern", 3}}},
  };
  for (const BracketCase& c : cases) {
    EXPECT_EQ(WordsOf(c.page, false), c.words) << c.page;
    EXPECT_EQ(WordsOf(c.page, true), c.words) << "modern: " << c.page;
  }
}

TEST(BracketRecovery, StrayBracketInMetaContentEndsWithTheTag) {
  for (const char* meta : {"<meta name=\"description\" content=\"alpha < bravo\">",
                           "<meta name=\"description\" content=\"alpha > bravo\">",
                           "<meta name=\"description\" content='alpha <> bravo'>"}) {
    Scan s;
    s.Lines({meta, "<p>charlie delta</p>", "echo"});
    EXPECT_EQ(s.Weight("alpha"), 27) << meta;
    EXPECT_EQ(s.Weight("bravo"), 27) << meta;
    EXPECT_EQ(s.Weight("charlie"), 3) << meta;
    EXPECT_EQ(s.Weight("echo"), 3) << meta;
  }
  // A content that goes on to the next line still ends with its tag there.
  Scan s;
  s.Lines({"<meta name=\"keywords\" content=\"alpha <", "bravo\"> charlie"});
  EXPECT_EQ(s.Weight("bravo"), 7);
  EXPECT_EQ(s.Weight("charlie"), 3);
}

TEST(BracketRecovery, BracketInQuotedValueIsPartOfIt) {
  Scan s;
  s.Lines({"<p><a title=\"a<b\">lantern garden</a> compass meadow</p> <p>x > y</p>",
           "<img alt = 'p>q' src=\"r\">sierra"});
  for (const char* word : {"lantern", "garden", "compass", "meadow", "y", "sierra"}) {
    EXPECT_EQ(s.Frequency(word), 1) << word;
  }
  EXPECT_EQ(s.Frequency("q"), 0);
  EXPECT_EQ(s.Frequency("title"), 0);
}

TEST(BracketRecovery, EmptyBracketPairIsText) {
  Scan s;
  s.Lines({"select * where a <> b and zebra", "< > yankee <b>bold</b>", "oscar"});
  for (const char* word : {"zebra", "select", "yankee", "oscar"}) {
    EXPECT_EQ(s.Frequency(word), 1) << word;
  }
  EXPECT_EQ(s.Weight("bold"), 6);
  // A stray "<" loses no more than its own tag's text.
  s.Lines({"a < b victor</p> whiskey"});
  EXPECT_EQ(s.Frequency("victor"), 0);
  EXPECT_EQ(s.Frequency("whiskey"), 1);
}

TEST(BracketRecovery, QuotesOutsideValuesChangeNothing) {
  // Apostrophes and quotes that open no attribute value leave the tag ending as before.
  Scan s;
  s.Lines({"<img alt=don't>tango<p class=x \">uniform</p> it's \"mike\" kilo"});
  for (const char* word : {"tango", "uniform", "mike", "kilo"}) {
    EXPECT_EQ(s.Frequency(word), 1) << word;
  }
}

}  // namespace
}  // namespace tagwright::test
