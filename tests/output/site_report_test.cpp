#include "output/site_report.h"

#include <gtest/gtest.h>

#include <numeric>
#include <string>
#include <vector>

#include "scan/analysis.h"

namespace tagwright {
namespace {

float Sum(const WeightSplit& split) { return std::accumulate(split.begin(), split.end(), 0.0f); }

float Part(const WeightSplit& split, WeightSource source) {
  return split[static_cast<std::size_t>(source)];
}

// An analysis that records where the values come from, run on a page in memory.
struct RecordedPage {
  explicit RecordedPage(std::string_view page, const Settings& used = {}) : settings(used) {
    analysis.RecordWeightSources(&recorder);
    outcome = RunScan(PageLines(page), analysis, observer).outcome;
  }
  Settings settings;
  ScanObserver observer;
  WeightSourceRecorder recorder;
  Analysis analysis{settings, observer};
  RunOutcome outcome = RunOutcome::Failed;
};

TEST(WeightSources, EachPlaceAddsToItsOwnSource) {
  Settings settings;
  settings.thresholdFrequency = 1;
  struct Case {
    const char* page;
    WeightSource source;
    float part;   // what the place adds to its source
    float total;  // the occurrence's whole weight
  };
  const Case cases[] = {
      {"<title>walrus</title>", WeightSource::Title, 51, 51},
      {"<h1>walrus</h1>", WeightSource::Headings, 6, 9},
      {"<b>walrus</b>", WeightSource::Bold, 3, 6},
      {"<meta name=\"description\" content=\"walrus\">", WeightSource::Meta, 27, 27},
      {"<meta name=\"keywords\" content=\"walrus\">", WeightSource::Meta, 7, 7},
      {"<table><tr><td>walrus</td></tr></table>", WeightSource::Tables, 1, 4},
      {"<p>walrus</p>", WeightSource::Body, 3, 3},
      {"<font size=7>walrus</font>", WeightSource::Body, 7, 7},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.page);
    RecordedPage page(c.page, settings);
    ASSERT_EQ(page.outcome, RunOutcome::Completed);
    const WeightSplit split = page.recorder.Recorded("walrus");
    EXPECT_EQ(Part(split, c.source), c.part);
    EXPECT_EQ(Sum(split), c.total);
    // The split adds up to exactly what the word table counted.
    EXPECT_EQ(Sum(split), page.analysis.Table().Find("walrus").keyValue);
  }
}

TEST(WeightSources, NothingIsRecordedWithoutARecorder) {
  Settings settings;
  ScanObserver observer;
  WeightSourceRecorder recorder;
  Analysis analysis(settings, observer);
  ASSERT_EQ(RunScan(PageLines("<title>walrus walrus</title>"), analysis, observer).outcome,
            RunOutcome::Completed);
  EXPECT_EQ(Sum(recorder.Recorded("walrus")), 0);
  // Attached, then taken off again: the next scan records nothing either.
  analysis.RecordWeightSources(&recorder);
  RunScan(PageLines("<title>walrus walrus</title>"), analysis, observer);
  EXPECT_EQ(Sum(recorder.Recorded("walrus")), 102);
  analysis.RecordWeightSources(nullptr);
  RunScan(PageLines("<p>other other</p>"), analysis, observer);
  EXPECT_EQ(Sum(recorder.Recorded("walrus")), 102);
}

TEST(TopWords, SplitsAddUpToTheRoundedValueAndFollowPluralMerges) {
  // "lanterns" is counted before its singular arrives and the table renames the entry; its
  // early occurrences still count for the singular's split.
  RecordedPage page(
      "<title>lanterns</title><h2>lanterns</h2><p>lantern lantern paper paper</p>"
      "<b>paper</b>");
  ASSERT_EQ(page.outcome, RunOutcome::Completed);
  const std::vector<ReportWord> top = TopWords(page.analysis, page.recorder, 20);
  ASSERT_EQ(top.size(), 2u);
  EXPECT_EQ(top[0].word, "lantern");
  EXPECT_EQ(top[0].value, 100);
  // title 51, heading 5 (level 2), body 3 + 3 + 3 = 9 of 65 in all, in percent
  EXPECT_EQ(top[0].split[static_cast<std::size_t>(WeightSource::Title)], 78);
  EXPECT_EQ(top[0].split[static_cast<std::size_t>(WeightSource::Headings)], 8);
  EXPECT_EQ(top[0].split[static_cast<std::size_t>(WeightSource::Body)], 14);
  for (const ReportWord& word : top) {
    EXPECT_EQ(std::accumulate(word.split.begin(), word.split.end(), 0), word.value) << word.word;
  }
  EXPECT_EQ(top[1].word, "paper");
  // 12 of 65 is 18: bold 4.5 and body 13.5, the equal remainders going to the first source.
  EXPECT_EQ(top[1].value, 18);
  EXPECT_EQ(top[1].split[static_cast<std::size_t>(WeightSource::Bold)], 5);
  EXPECT_EQ(top[1].split[static_cast<std::size_t>(WeightSource::Body)], 13);
}

TEST(ReadPageHead, FindsTheTitleAndTheDescription) {
  struct Case {
    std::string page;
    std::string title;
    bool hasTitle;
    bool hasDescription;
  };
  const Case cases[] = {
      {"<html><head><TITLE>Fish &amp; Chips\n  to go</TITLE></head>", "Fish & Chips to go", true,
       false},
      {"<title lang=en>Caf&#233; &#x263A;</title>", "Caf\xC3\xA9 \xE2\x98\xBA", true, false},
      {"<title>  </title><meta name=\"description\" content=\"x\">", "", false, true},
      {"<meta name='Description' content='About'><title>A</title>", "A", true, true},
      {"<meta name=description content=About>", "", false, true},
      {"<meta name=\"description\" content=\"  \">", "", false, false},
      {"<meta property=\"og:description\" content=\"About\">", "", false, false},
      {"<meta name=\"descriptions\" content=\"About\">", "", false, false},
      {"<!-- <title>old</title> --><title>new</title>", "new", true, false},
      // Not in the head: a title or description in the body does not count.
      {"<body><title>late</title><meta name=\"description\" content=\"x\">", "", false, false},
      // Windows-1252 bytes become UTF-8; an unknown reference stays as written.
      {"<title>M\xFCller &bogus;</title>", "M\xC3\xBCller &bogus;", true, false},
      {"<title>never closed", "never closed", true, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.page);
    const PageHead head = ReadPageHead(c.page);
    EXPECT_EQ(head.title, c.title);
    EXPECT_EQ(head.hasTitle, c.hasTitle);
    EXPECT_EQ(head.hasDescription, c.hasDescription);
  }
}

TEST(TagKeywords, SplitsTheContentAtCommas) {
  EXPECT_EQ(TagKeywords("<meta name=\"keywords\" content=\" a, b  c ,,d,\">"),
            (std::vector<std::string>{"a", "b c", "d"}));
  EXPECT_EQ(TagKeywords("<meta content='x,y' name=keywords>"),
            (std::vector<std::string>{"x", "y"}));
  EXPECT_EQ(TagKeywords("<meta name=\"keywords\" content=\"\">"), std::vector<std::string>{});
  EXPECT_EQ(TagKeywords("<meta name=\"keywords\">"), std::vector<std::string>{});
}

TEST(SameKeyword, MatchesBlanksAndAFinalS) {
  EXPECT_TRUE(SameKeyword("paris", "paris"));
  EXPECT_TRUE(SameKeyword("flights", "flight"));
  EXPECT_TRUE(SameKeyword("flight", "flights"));
  EXPECT_TRUE(SameKeyword("web  design", "web design"));
  EXPECT_FALSE(SameKeyword("flightss", "flight"));
  EXPECT_FALSE(SameKeyword("par", "paris"));
  EXPECT_FALSE(SameKeyword("", ""));
}

ReportPage Page(std::string path, std::string title, std::vector<std::string> existing,
                std::vector<std::string> generated, const std::vector<std::string>& words = {}) {
  ReportPage page;
  page.path = std::move(path);
  page.hasTitle = !title.empty();
  page.title = std::move(title);
  page.hasKeywordsTag = !existing.empty();
  page.existing = std::move(existing);
  page.generated = std::move(generated);
  for (const std::string& w : words) page.top.push_back({w, 50, {0, 0, 0, 0, 0, 50}});
  page.words = words;
  return page;
}

TEST(SiteReport, CountsThePagesOfEachKind) {
  SiteReport site;
  // Shares 1 of 3: stale. Shares 1 of 2: half, not stale.
  site.Add(Page("a.html", "Home", {"one", "two", "three"}, {"one", "four"}, {"one", "four"}));
  site.Add(Page("b.html", "Home", {"one", "two"}, {"ones"}, {"one"}));
  site.Add(Page("c.html", "", {}, {"one"}, {"one", "five"}));
  ReportPage described = Page("d.html", "Other", {}, {"five"}, {"five", "one"});
  described.hasDescription = true;
  site.Add(described);
  const SiteCounts counts = site.Counts();
  EXPECT_EQ(counts.pages, 4u);
  EXPECT_EQ(counts.withoutKeywords, 2u);
  EXPECT_EQ(counts.staleKeywords, 1u);
  EXPECT_EQ(counts.withoutTitle, 1u);
  EXPECT_EQ(counts.withoutDescription, 3u);
  EXPECT_EQ(counts.duplicateTitles, 2u);

  // "one" is on all four pages; "five" on two of four, which is not more than half.
  const std::vector<WordPages> furniture = site.Furniture();
  ASSERT_EQ(furniture.size(), 1u);
  EXPECT_EQ(furniture[0].word, "one");
  EXPECT_EQ(furniture[0].pages, 4u);
  const std::vector<WordPages> leading = site.LeadingWords(2);
  ASSERT_EQ(leading.size(), 2u);
  EXPECT_EQ(leading[0].word, "one");
  EXPECT_EQ(leading[0].pages, 4u);
  EXPECT_EQ(leading[1].word, "five");
}

TEST(SiteReport, AnEmptySiteStillMakesAPage) {
  const SiteReport site;
  const std::string html = site.Html(".", "Nothing");
  EXPECT_NE(html.find("id=\"count-pages\">0<"), std::string::npos);
  EXPECT_NE(html.find("\"pages\":[]"), std::string::npos);
}

TEST(ScriptJsonString, NothingCanEndTheScriptOrTheString) {
  EXPECT_EQ(ScriptJsonString("</script><!--"), "\"\\u003c/script\\u003e\\u003c!--\"");
  EXPECT_EQ(ScriptJsonString("a\"b\\c\n&"), "\"a\\\"b\\\\c\\u000a\\u0026\"");
  EXPECT_EQ(ScriptJsonString("\xE2\x80\xA8\xE2\x80\xA9"), "\"\\u2028\\u2029\"");
  EXPECT_EQ(ScriptJsonString("\xFF"), "\"\xEF\xBF\xBD\"");  // not UTF-8
}

TEST(SiteReport, PageTextIsEscapedEverywhere) {
  SiteReport site;
  ReportPage page = Page("x</script>.html", "</script><script>alert(1)</script>", {"<b>bold</b>"},
                         {"word"}, {"word"});
  site.Add(page);
  const std::string html = site.Html(".", "<Site & co>");
  // Two script elements end: the data and the program; no page text ends one.
  std::size_t ends = 0;
  for (std::size_t at = html.find("</script>"); at != std::string::npos;
       at = html.find("</script>", at + 1)) {
    ++ends;
  }
  EXPECT_EQ(ends, 2u);
  EXPECT_EQ(html.find("<script>alert"), std::string::npos);
  EXPECT_EQ(html.find("<b>bold"), std::string::npos);
  EXPECT_NE(html.find("&lt;Site &amp; co&gt;"), std::string::npos);
  EXPECT_EQ(HtmlEscape("<a href=\"x\">'"), "&lt;a href=&quot;x&quot;&gt;&#39;");
}

TEST(RelativeLink, IsRelativeToTheReportAndEncoded) {
  EXPECT_EQ(RelativeLink("site/a b.html", "."), "./site/a%20b.html");
  EXPECT_EQ(RelativeLink("site/a.html", "out"), "../site/a.html");
  EXPECT_EQ(RelativeLink("site/q?#%.html", "site"), "./q%3F%23%25.html");
  // A name that looks like a scheme stays a path.
  EXPECT_EQ(RelativeLink("javascript:alert(1).html", "."), "./javascript%3Aalert(1).html");
  EXPECT_EQ(RelativeLink("caf\xC3\xA9.html", "."), "./caf%C3%A9.html");
}

}  // namespace
}  // namespace tagwright
