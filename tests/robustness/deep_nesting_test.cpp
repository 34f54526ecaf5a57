// Nesting far deeper than any real page: tables, font tags, unclosed tags and contexts, and
// font sizes beyond any number type.

#include <gtest/gtest.h>

#include <string>

#include "page_analysis.h"

namespace tagwright {
namespace {

constexpr std::size_t kDeep = 100'000;

TEST(DeepNesting, HundredThousandNestedTablesCountAndUnwind) {
  for (const char* separator : {"", "\n"}) {
    const std::string page =
        test::Repeat(std::string("<table><tr><td>") + separator, kDeep) + "lantern" +
        test::Repeat(std::string("</td></tr></table>") + separator, kDeep) + " compass";
    const auto counted = test::AnalysePage(page, test::KeepAll());
    ASSERT_EQ(counted.result.outcome, RunOutcome::Completed);
    EXPECT_EQ(counted.Weight("lantern"), 4) << "inside the tables, with table weight 1";
    EXPECT_EQ(counted.Weight("compass"), 3) << "after the last end tag";

    Settings skip = test::KeepAll();
    skip.tableWeight = 0;
    const auto skipped = test::AnalysePage(page, skip);
    ASSERT_EQ(skipped.result.outcome, RunOutcome::Completed);
    EXPECT_EQ(skipped.Frequency("lantern"), 0) << "tables are skipped at table weight 0";
    EXPECT_EQ(skipped.Weight("compass"), 3);
  }
}

TEST(DeepNesting, HundredThousandFontTagsHoldTheSizeAndRestoreIt) {
  const std::string page = test::Repeat("<font size=\"+1\">", kDeep) + "lantern" +
                           test::Repeat("</font>", kDeep - 1) + " garden</font> compass" +
                           test::Repeat("</font>", kDeep) + " meadow";
  const auto result = test::AnalysePage(page, test::KeepAll());
  ASSERT_EQ(result.result.outcome, RunOutcome::Completed);
  EXPECT_EQ(result.Weight("lantern"), 7) << "the size stops at 7";
  EXPECT_EQ(result.Weight("garden"), 4) << "one font tag still open";
  EXPECT_EQ(result.Weight("compass"), 3) << "all closed";
  EXPECT_EQ(result.Weight("meadow"), 3) << "closing tags with nothing open change nothing";
}

TEST(DeepNesting, PageAfterHundredThousandUnclosedTagsYieldsItsWords) {
  // Tags whose closing bracket never comes, one to a line and all on one line: a later
  // well-formed tag ends them, and the text after it counts as plain text.
  for (const char* separator : {"\n", " "}) {
    const std::string page = test::Repeat(std::string("<div class=\"x\"") + separator, kDeep) +
                             "<p>lantern compass</p> <b>garden</b>";
    const auto result = test::AnalysePage(page, test::KeepAll());
    ASSERT_EQ(result.result.outcome, RunOutcome::Completed);
    EXPECT_EQ(result.Weight("lantern"), 3);
    EXPECT_EQ(result.Weight("compass"), 3);
    EXPECT_EQ(result.Weight("garden"), 6);
    EXPECT_EQ(result.table.WordCount(), 3);
  }
}

TEST(DeepNesting, HundredThousandUnclosedContextsKeepTheirWeight) {
  const auto bold = test::AnalysePage(test::Repeat("<b>", kDeep) + "lantern", test::KeepAll());
  EXPECT_EQ(bold.Weight("lantern"), 6);
  const auto heading =
      test::AnalysePage(test::Repeat("<h1>", kDeep) + "lantern\ncompass", test::KeepAll());
  EXPECT_EQ(heading.Weight("lantern"), 9);
  EXPECT_EQ(heading.Weight("compass"), 9) << "an unclosed heading lasts to the end";
  // Comment openers inside a comment are text of the comment: the first end closes it.
  const auto comment =
      test::AnalysePage(test::Repeat("<!-- x\n", kDeep) + "--> lantern", test::KeepAll());
  EXPECT_EQ(comment.table.WordCount(), 1);
  EXPECT_EQ(comment.Weight("lantern"), 3);
}

TEST(DeepNesting, FontSizesBeyondAnyNumberAreHeldToOneToSeven) {
  const std::string e30 = "1" + std::string(30, '0');
  const std::string e400 = "9" + std::string(400, '9');  // beyond the range of a double
  const struct {
    std::string size;
    float weight;
  } cases[] = {{e30, 7},        {"+" + e30, 7},         {"-" + e30, 1},         {e400, 7},
               {"-" + e400, 1}, {e400 + "." + e400, 7}, {"+" + e30 + "e30", 7}, {"0." + e400, 1}};
  for (const auto& c : cases) {
    const auto result =
        test::AnalysePage("<font size=\"" + c.size + "\">lantern</font> compass", test::KeepAll());
    ASSERT_EQ(result.result.outcome, RunOutcome::Completed) << c.size.substr(0, 40);
    EXPECT_EQ(result.Weight("lantern"), c.weight) << c.size.substr(0, 40);
    EXPECT_EQ(result.Weight("compass"), 3) << c.size.substr(0, 40);
  }
}

}  // namespace
}  // namespace tagwright
