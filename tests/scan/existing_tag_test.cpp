#include "scan/existing_tag.h"

#include <gtest/gtest.h>

#include "support/temp_dir.h"

namespace tagwright {
namespace {

class existing_tag : public ::testing::Test {
 protected:
  std::string Show(const std::string& content) {
    return ShowExistingKeywordMetaTag(dir_.Write("page.htm", content));
  }
  test::TempDir dir_;
};

TEST_F(existing_tag, shows_the_lower_cased_line_from_its_meta_tag) {
  EXPECT_EQ(Show("<HEAD>\n  <META NAME=\"Keywords\" CONTENT=\"Web, Tools\">  \n</HEAD>"),
            "Existing keyword meta tag:\r\n<meta name=\"keywords\" content=\"web, tools\">");
  EXPECT_EQ(Show("<head>\n<meta name=\"description\" content=\"d\"><meta name=\"keywords\" "
                 "content=\"k\"> rest\n</head>"),
            "Existing keyword meta tag:\r\n<meta name=\"description\" content=\"d\"><meta "
            "name=\"keywords\" content=\"k\"> rest");
}

TEST_F(existing_tag, reports_when_there_is_none) {
  EXPECT_EQ(Show("<head>\n<title>x</title>\n</head>\n<meta name=\"keywords\" content=\"late\">"),
            "No keyword meta tag found.");
  EXPECT_EQ(Show("<p>no head at all</p>"), "No keyword meta tag found.");
  EXPECT_EQ(Show("<meta\nname=\"keywords\" content=\"k\">\n</head>"), "No keyword meta tag found.");
  EXPECT_EQ(Show("<meta name=keywords content=k>\n</head>"), "No keyword meta tag found.");
}

TEST_F(existing_tag, quoted_keywords_anywhere_on_a_meta_line_counts) {
  EXPECT_EQ(Show("<meta name=\"description\" content=\"about &quot; \"keywords\" here\">"),
            "Existing keyword meta tag:\r\n<meta name=\"description\" content=\"about &quot; "
            "\"keywords\" here\">");
}

TEST_F(existing_tag, head_on_one_line_is_searched_before_its_end) {
  EXPECT_EQ(Show("<html><head><title>t</title><meta name=\"keywords\" content=\"a,b\"></head>"
                 "<body>x</body>"),
            "Existing keyword meta tag:\r\n<meta name=\"keywords\" content=\"a,b\">");
  EXPECT_EQ(Show("<head><title>t</title></head><meta name=\"keywords\" content=\"a\">"),
            "No keyword meta tag found.");
}

TEST_F(existing_tag, document_text_is_shown_as_utf8) {
  EXPECT_EQ(Show("<meta name=\"keywords\" content=\"caf\xe9\">"),
            "Existing keyword meta tag:\r\n<meta name=\"keywords\" content=\"caf\xc3\xa9\">");
  EXPECT_EQ(Show("<meta name=\"keywords\" content=\"caf\xc3\xa9\">"),
            "Existing keyword meta tag:\r\n<meta name=\"keywords\" content=\"caf\xc3\xa9\">");
}

TEST_F(existing_tag, unreadable_file_gives_the_error_text) {
  EXPECT_EQ(ShowExistingKeywordMetaTag(dir_.Path().string()),
            "Error when looking for keywords meta tag.");
}

}  // namespace
}  // namespace tagwright
