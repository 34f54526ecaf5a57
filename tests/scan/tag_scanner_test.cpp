#include <gtest/gtest.h>

#include "scan_fixture.h"

namespace tagwright {
namespace {

using test::Scan;

TEST(TagScanner, ContextWeightsWithDefaultSettings) {
  Scan s;
  s.Lines({"<title>titleword</title>", "<meta name=\"description\" content=\"descword\">",
           "<meta name=\"keywords\" content=\"keyword\">", "plainword <b>boldword</b>",
           "<table><tr><td>cellword <b>boldcell</b></td></tr></table>",
           "<h1>headone</h1> <h6>headsix</h6>", "<font size=+2>fontword</font> postlude"});
  EXPECT_EQ(s.Weight("titleword"), 51);
  EXPECT_EQ(s.Weight("descword"), 27);
  EXPECT_EQ(s.Weight("keyword"), 7);
  EXPECT_EQ(s.Weight("plainword"), 3);
  EXPECT_EQ(s.Weight("boldword"), 6);
  EXPECT_EQ(s.Weight("cellword"), 4);
  EXPECT_EQ(s.Weight("boldcell"), 7);
  EXPECT_EQ(s.Weight("headone"), 9);
  EXPECT_EQ(s.Weight("headsix"), 4);
  EXPECT_EQ(s.Weight("fontword"), 5);
  EXPECT_EQ(s.Weight("postlude"), 3);
}

TEST(TagScanner, ContextsAddUpAndFollowSettingsOfTheMoment) {
  Scan s;
  s.Lines({"<h2><table><tr><td><b>stack</b></td></tr></table></h2>"});
  EXPECT_EQ(s.Weight("stack"), 12);  // 3 + 5 + 1 + 3

  Settings heavy;
  heavy.boldWeight = 9;
  heavy.existingKeywordsWeight = 0;
  Scan t(heavy);
  t.Lines({"<b>bold</b>", "<meta name=\"keywords\" content=\"skip, words\"> plain"});
  EXPECT_EQ(t.Weight("bold"), 12);
  EXPECT_EQ(t.Weight("skip"), 0);
  EXPECT_EQ(t.Weight("words"), 0);
  EXPECT_EQ(t.Weight("plain"), 3);
}

TEST(TagScanner, TableWeightZeroSkipsTablesAcrossLinesAndNesting) {
  Settings noTables;
  noTables.tableWeight = 0;
  Scan s(noTables);
  s.Lines({"prelude <table><tr><td>inner <table><td>nested</td></table> still",
           "second line</td></tr>", "</table> postlude </table> tail"});
  EXPECT_EQ(s.Weight("prelude"), 3);
  EXPECT_EQ(s.Weight("inner"), 0);
  EXPECT_EQ(s.Weight("nested"), 0);
  EXPECT_EQ(s.Weight("still"), 0);
  EXPECT_EQ(s.Weight("second"), 0);
  EXPECT_EQ(s.Weight("postlude"), 3);  // a stray end tag outside a table changes nothing
  EXPECT_EQ(s.Weight("tail"), 3);
}

TEST(TagScanner, StrayTableEndLowersNestingWhenTablesCount) {
  Scan s;
  s.Lines({"</table> <table><td>cell</td></table>"});
  EXPECT_EQ(s.Weight("cell"), 3);  // the nesting is 0 inside the next table
}

TEST(TagScanner, ScriptsStylesAndCommentsAreSkipped) {
  Scan s;
  s.Lines({"<script>var <b>hidden</b> = 1;</script>visible", "<style>p { color: red }</style>shown",
           "uno <!-- comment", "middle", "end --> tres", "<!-->right"});
  EXPECT_EQ(s.Weight("hidden"), 0);
  EXPECT_EQ(s.Weight("var"), 0);
  EXPECT_EQ(s.Weight("visible"), 3);
  EXPECT_EQ(s.Weight("color"), 0);
  EXPECT_EQ(s.Weight("shown"), 3);
  EXPECT_EQ(s.Weight("uno"), 3);
  EXPECT_EQ(s.Weight("middle"), 0);
  EXPECT_EQ(s.Weight("end"), 0);
  EXPECT_EQ(s.Weight("tres"), 3);
  EXPECT_EQ(s.Weight("right"), 3);  // a comment start followed by ">" ends at once
}

TEST(TagScanner, ContextsLastAcrossLines) {
  Scan s;
  s.Lines({"<title>alpha", "beta</title> plain",
           "<h3>level topic</h1> outro <h2>duo <b>ex</b>   </h2> gonzo", "<a",
           "href=\"x\">anchor</a>"});
  EXPECT_EQ(s.Weight("alpha"), 51);
  EXPECT_EQ(s.Weight("beta"), 51);
  EXPECT_EQ(s.Weight("plain"), 3);
  EXPECT_EQ(s.Weight("topic"), 7);
  EXPECT_EQ(s.Weight("duo"), 8);
  EXPECT_EQ(s.Weight("ex"), 11);
  EXPECT_EQ(s.Weight("outro"), 3);
  EXPECT_EQ(s.Weight("gonzo"), 3);
  EXPECT_EQ(s.Weight("href"), 0);
  EXPECT_EQ(s.Weight("anchor"), 3);
}

TEST(TagScanner, WordsAreRunsOfLetters) {
  Scan s;
  s.Lines({"don't e-mail mp3 last"});
  EXPECT_EQ(s.Frequency("don"), 1);
  EXPECT_EQ(s.Frequency("t"), 1);
  EXPECT_EQ(s.Frequency("mail"), 1);
  EXPECT_EQ(s.Frequency("e"), 1);
  EXPECT_EQ(s.Frequency("mp"), 1);
  EXPECT_EQ(s.Frequency("last"), 1);  // the closing blank ends the last word
}

TEST(TagScanner, MetaContentOnTheNextLineIsPlainText) {
  Scan s;
  s.Lines({"<meta name=\"description\" lost words", "content=\"nexus line\">"});
  EXPECT_EQ(s.Weight("lost"), 0);
  EXPECT_EQ(s.Weight("content"), 3);
  EXPECT_EQ(s.Weight("nexus"), 3);
}

TEST(TagScanner, MetaTagsAreReadWithinThemselves) {
  // A head on one line: the charset tag must not borrow the description's name, nor the
  // viewport its content.
  Scan s;
  s.Lines(
      {"<head><meta charset=\"utf-8\"><meta name=\"viewport\" content=\"width=device-width, "
       "initial-scale=1\"><meta name=\"description\" content=\"real summary\"><title>t"
       "</title></head>"});
  EXPECT_EQ(s.Weight("width"), 0);
  EXPECT_EQ(s.Weight("device"), 0);
  EXPECT_EQ(s.Weight("initial"), 0);
  EXPECT_EQ(s.Weight("scale"), 0);
  EXPECT_EQ(s.Weight("real"), 27);
  EXPECT_EQ(s.Weight("summary"), 27);
}

TEST(TagScanner, MetaNameWithBlanksAndAttributesAfterContent) {
  Scan s;
  s.Lines({"<meta content=\"opening\" name = \"description\">",
           "<meta name=\"description\" content=\"body\" lang=\"extra\"> postlude"});
  EXPECT_EQ(s.Weight("opening"), 0);  // "content" stands before the name: nothing follows it
  EXPECT_EQ(s.Weight("body"), 27);
  EXPECT_EQ(s.Weight("lang"), 27);  // attributes after the content count too
  EXPECT_EQ(s.Weight("extra"), 27);
  EXPECT_EQ(s.Weight("postlude"), 3);
}

TEST(TagScanner, FontSizesAreHeldToOneToSeven) {
  Scan s;
  s.Lines({"<font size=+10>big</font> <font size=-5>minor</font> <font size=5>quint</font>",
           "<font size=2.5>demi</font> <font size=1000000000000000000000000000000>huge</font>",
           "<font size=-1000000000000000000000000000000>tiny</font> rear"});
  EXPECT_EQ(s.Weight("big"), 7);
  EXPECT_EQ(s.Weight("minor"), 1);
  EXPECT_EQ(s.Weight("quint"), 5);
  EXPECT_EQ(s.Weight("demi"), 2);
  EXPECT_EQ(s.Weight("huge"), 7);
  EXPECT_EQ(s.Weight("tiny"), 1);
  EXPECT_EQ(s.Weight("rear"), 3);
}

TEST(TagScanner, FontTagsNestAndKeepTheSizeWithoutTheirOwn) {
  Scan s;
  s.Lines({"<font size=6>outer <font color=red>inner</font> anew</font> plain",
           "</font> stray <font face=arial>face</font> <font size=7>latter</font>"});
  EXPECT_EQ(s.Weight("outer"), 6);
  EXPECT_EQ(s.Weight("inner"), 6);
  EXPECT_EQ(s.Weight("anew"), 6);
  EXPECT_EQ(s.Weight("plain"), 3);
  EXPECT_EQ(s.Weight("stray"), 3);
  EXPECT_EQ(s.Weight("face"), 3);  // a later font tag's size is not borrowed
  EXPECT_EQ(s.Weight("latter"), 7);
}

TEST(TagScanner, FontTagClosedOnTheNextLine) {
  Scan s;
  s.Lines({"<font size=4", "color=red>measure</font> postlude"});
  EXPECT_EQ(s.Weight("color"), 0);
  EXPECT_EQ(s.Weight("red"), 0);
  EXPECT_EQ(s.Weight("measure"), 4);
  EXPECT_EQ(s.Weight("postlude"), 3);
}

TEST(TagScanner, StrayClosingBracketsChangeNothing) {
  Scan s;
  s.Lines({"home > products > tools <b>bold</b>", "nexus line"});
  EXPECT_EQ(s.Weight("home"), 3);
  EXPECT_EQ(s.Weight("products"), 3);
  EXPECT_EQ(s.Weight("tools"), 3);
  EXPECT_EQ(s.Weight("bold"), 6);
  EXPECT_EQ(s.Weight("nexus"), 3);
}

TEST(TagScanner, StrayOpeningBracketLosesAtMostTheTextToTheNextBracket) {
  Scan s;
  s.Lines({"if a < b lost <i>kept</i> further", "successor"});
  EXPECT_EQ(s.Weight("lost"), 0);
  EXPECT_EQ(s.Weight("kept"), 3);
  EXPECT_EQ(s.Weight("further"), 3);
  EXPECT_EQ(s.Weight("successor"), 3);

  Scan t;
  t.Lines({"<a title=\"a<b\">link words</a> tail", "<p>nexus</p>"});
  EXPECT_EQ(t.Weight("link"), 3);
  EXPECT_EQ(t.Weight("words"), 3);
  EXPECT_EQ(t.Weight("tail"), 3);
  EXPECT_EQ(t.Weight("nexus"), 3);
}

TEST(TagScanner, BalancedNestedBracketsStayInsideTheTag) {
  Scan s;
  s.Lines({"<a data-content=\"<p>hidden text</p>\" title=\"x<i>y</i>\">shown</a>"});
  EXPECT_EQ(s.Weight("hidden"), 0);
  EXPECT_EQ(s.Weight("text"), 0);
  EXPECT_EQ(s.Weight("y"), 0);
  EXPECT_EQ(s.Weight("shown"), 3);
}

TEST(TagScanner, MarkersWrittenIntoTheDocumentCount) {
  Scan s;
  s.Lines({std::string("\x0b") + "heavy " + "\x07" + "plain"});
  EXPECT_EQ(s.Weight("heavy"), 6);
  EXPECT_EQ(s.Weight("plain"), 6);  // code 7 ends a heading, not bold
}

TEST(TagScanner, SettingsChangeInTheMiddleOfAScan) {
  // The bold weight drops to 1 after the first line.
  struct Lower final : ScanObserver {
    explicit Lower(Settings& s) : settings(s) {}
    void OnYield() override { settings.boldWeight = 1; }
    Settings& settings;
  };
  Settings settings;
  Lower observer(settings);
  Analysis analysis(settings, observer);
  ASSERT_EQ(RunScan(LineList({"<b>alpha</b>", "<b>alpha</b>"}), analysis, observer).outcome,
            RunOutcome::Completed);
  EXPECT_EQ(analysis.Table().Find("alpha").keyValue, 6 + 4);
}

TEST(TagScanner, WordsHeldInABlockMeetTheSettingsOfWhenTheyAreCounted) {
  // The modern reading holds a paragraph's words until the paragraph ends; the short-word
  // filter is switched on before then, and the held words meet it.
  struct ShortWordsOff final : ScanObserver {
    explicit ShortWordsOff(Settings& s) : settings(s) {}
    void OnYield() override {
      settings.ignoreShortWords = true;
      settings.shortWordSize = 5;
    }
    Settings& settings;
  };
  Settings settings;
  settings.modernMarkup = true;
  settings.ignoreShortWords = false;
  settings.thresholdFrequency = 1;
  ShortWordsOff observer(settings);
  Analysis analysis(settings, observer);
  ASSERT_EQ(RunScan(LineList({"<p>kiwi mango papaya", "</p>"}), analysis, observer).outcome,
            RunOutcome::Completed);
  EXPECT_EQ(analysis.Table().Find("kiwi").frequency, 0);
  EXPECT_EQ(analysis.Table().Find("mango").frequency, 0);
  EXPECT_EQ(analysis.Table().Find("papaya").frequency, 1);
}

}  // namespace
}  // namespace tagwright
