// Stray brackets in text and in attribute values: each loses at most its own tag.
#include <gtest/gtest.h>

#include "scan_fixture.h"

namespace tagwright::test {
namespace {

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
