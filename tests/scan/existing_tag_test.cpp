#include "scan/existing_tag.h"

#include <gtest/gtest.h>

#include "support/temp_dir.h"

namespace tagwright {
namespace {

class ExistingTagTest : public ::testing::Test {
 protected:
  std::string Show(const std::string& content) {
    return ShowExistingKeywordMetaTag(dir_.Write("page.htm", content));
  }
  test::TempDir dir_;
};

TEST_F(ExistingTagTest, ShowsTheLowerCasedLineFromItsMetaTag) {
  EXPECT_EQ(Show("<HEAD>\n  <META NAME=\"Keywords\" CONTENT=\"Web, Tools\">  \n</HEAD>"),
            "Existing keyword meta tag:\r\n<meta name=\"keywords\" content=\"web, tools\">");
  EXPECT_EQ(Show("<head>\n<meta name=\"description\" content=\"d\"><meta name=\"keywords\" "
                 "content=\"k\"> rest\n</head>"),
            "Existing keyword meta tag:\r\n<meta name=\"description\" content=\"d\"><meta "
            "name=\"keywords\" content=\"k\"> rest");
}

TEST_F(ExistingTagTest, ReportsWhenThereIsNone) {
  EXPECT_EQ(Show("<head>\n<title>x</title>\n</head>\n<meta name=\"keywords\" content=\"late\">"),
            "No keyword meta tag found.");
  EXPECT_EQ(Show("<p>no head at all</p>"), "No keyword meta tag found.");
  EXPECT_EQ(Show("<meta\nname=\"keywords\" content=\"k\">\n</head>"), "No keyword meta tag found.");
  EXPECT_EQ(Show("<meta name=keywords content=k>\n</head>"), "No keyword meta tag found.");
}

TEST_F(ExistingTagTest, QuotedKeywordsAnywhereOnAMetaLineCounts) {
  EXPECT_EQ(Show("<meta name=\"description\" content=\"about &quot; \"keywords\" here\">"),
            "Existing keyword meta tag:\r\n<meta name=\"description\" content=\"about &quot; "
            "\"keywords\" here\">");
}

TEST_F(ExistingTagTest, HeadOnOneLineIsSearchedBeforeItsEnd) {
  EXPECT_EQ(Show("<html><head><title>t</title><meta name=\"keywords\" content=\"a,b\"></head>"
                 "<body>x</body>"),
            "Existing keyword meta tag:\r\n<meta name=\"keywords\" content=\"a,b\">");
  EXPECT_EQ(Show("<head><title>t</title></head><meta name=\"keywords\" content=\"a\">"),
            "No keyword meta tag found.");
}

TEST_F(ExistingTagTest, DocumentTextIsShownAsUtf8) {
  EXPECT_EQ(Show("<meta name=\"keywords\" content=\"caf\xe9\">"),
            "Existing keyword meta tag:\r\n<meta name=\"keywords\" content=\"caf\xc3\xa9\">");
  EXPECT_EQ(Show("<meta name=\"keywords\" content=\"caf\xc3\xa9\">"),
            "Existing keyword meta tag:\r\n<meta name=\"keywords\" content=\"caf\xc3\xa9\">");
}

TEST_F(ExistingTagTest, UnreadableFileGivesTheErrorText) {
  EXPECT_EQ(ShowExistingKeywordMetaTag(dir_.Path().string()),
            "Error when looking for keywords meta tag.");
}

}  // namespace
}  // namespace tagwright
