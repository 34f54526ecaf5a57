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

namespace tagwright {
namespace {

TEST(ExistingTagModern, ShowsTheTagApplyWouldReplace) {
  struct Case {
    const char* what;
    std::string page;
    std::string shown;
  };
  const Case cases[] = {
      {"whole across lines, in its own letters",
       "<HEAD>\n<META NAME=\"Keywords\"\n  CONTENT=\"Web, Tools\"> rest\n</HEAD>",
       "Existing keyword meta tag:\r\n<META NAME=\"Keywords\"\n  CONTENT=\"Web, Tools\">"},
      {"a description that mentions keywords is no keywords tag",
       "<head><meta name=\"description\" content=\"keywords\"></head>",
       "No keyword meta tag found."},
      {"a commented-out tag is not the tag",
       "<head><!-- <meta name=keywords content=old> --><meta name=Keywords content=new></head>",
       "Existing keyword meta tag:\r\n<meta name=Keywords content=new>"},
      {"the first of several", "<head><meta name=keywords content=a><meta name=keywords content=b>",
       "Existing keyword meta tag:\r\n<meta name=keywords content=a>"},
      {"a Windows-1251 page's letters as UTF-8",
       "<head><meta charset=windows-1251><meta name=keywords content=\"\xef\xf3\xf2\xfc\"></head>",
       "Existing keyword meta tag:\r\n<meta name=keywords content=\""
       "\xd0\xbf\xd1\x83\xd1\x82\xd1\x8c\">"},
      {"a UTF-16 page",
       std::string("\xff\xfe<\0m\0e\0t\0a\0 \0n\0a\0m\0e\0=\0k\0e\0y\0w\0o\0r\0d\0s\0>\0", 42),
       "Existing keyword meta tag:\r\n<meta name=keywords>"},
  };
  test::TempDir dir;
  for (const Case& c : cases) {
    EXPECT_EQ(ExistingTagText(FindKeywordsTagAsApplyDoes(c.page)), c.shown) << c.what;
    EXPECT_EQ(ShowExistingKeywordMetaTag(dir.Write("page.htm", c.page), true), c.shown) << c.what;
  }
  // The default reading stays as it was: the lower-cased line.
  EXPECT_EQ(ShowExistingKeywordMetaTag(dir.Write("page.htm", cases[0].page), false),
            "Existing keyword meta tag:\r\n<meta name=\"keywords\"");
  EXPECT_EQ(FindKeywordsTagAsApplyDoesInFile((dir.Path() / "missing.htm").string()).status,
            ExistingTag::Status::Error);
}

}  // namespace
}  // namespace tagwright
