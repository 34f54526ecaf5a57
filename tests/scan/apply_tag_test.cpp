#include "scan/apply_tag.h"

#include <gtest/gtest.h>

#include <string>

namespace tagwright {
namespace {

const std::string kTag = "<META NAME=\"keywords\" CONTENT=\"flights,travel\">";

std::string Repeated(const std::string& text, int times) {
  std::string result;
  for (int i = 0; i < times; ++i) result += text;
  return result;
}

struct RewriteCase {
  const char* what;
  std::string page;
  std::string tag;
  std::string expected;
  PageRewrite::Action action;
};

TEST(RewritePage, WritesTheTagAndKeepsEveryOtherByte) {
  const RewriteCase cases[] = {
      {"LF, inserted above an indented </head>",
       "<html>\n<head>\n  <title>T</title>\n  </head>\n<body>x</body>\n", kTag,
       "<html>\n<head>\n  <title>T</title>\n  " + kTag + "\n  </head>\n<body>x</body>\n",
       PageRewrite::Action::Inserted},
      {"CR LF", "<head>\r\n<title>T</title>\r\n</head>\r\n", kTag,
       "<head>\r\n<title>T</title>\r\n" + kTag + "\r\n</head>\r\n", PageRewrite::Action::Inserted},
      {"CR only", "<head>\r<title>T</title>\r</head>\r<p>x", kTag,
       "<head>\r<title>T</title>\r" + kTag + "\r</head>\r<p>x", PageRewrite::Action::Inserted},
      {"head on one line, CR LF elsewhere", "<html><head><title>T</title></head><body>\r\nx</body>",
       kTag, "<html><head><title>T</title>\r\n" + kTag + "\r\n</head><body>\r\nx</body>",
       PageRewrite::Action::Inserted},
      {"head on one line with its tag", "<head><META name=\"Keywords\" content=\"a\"></HEAD>x",
       kTag, "<head>" + kTag + "</HEAD>x", PageRewrite::Action::Replaced},
      {"existing tag replaced, the rest of its line kept",
       "<head>\n  <meta name=\"description\" content=\"d\"><meta name=\"keywords\" "
       "content=\"old\"> <!-- x -->\n</head>\n",
       kTag,
       "<head>\n  <meta name=\"description\" content=\"d\">" + kTag + " <!-- x -->\n</head>\n",
       PageRewrite::Action::Replaced},
      {"a tag going on over its line end",
       "<head>\r\n<meta name=\"keywords\"\r\n content=\"a, b\">\r\n</head>", kTag,
       "<head>\r\n" + kTag + "\r\n</head>", PageRewrite::Action::Replaced},
      {"an unclosed tag is not replaced", "<head>\n<meta name=\"keywords\"\n</head> >", kTag,
       "<head>\n<meta name=\"keywords\"\n" + kTag + "\n</head> >", PageRewrite::Action::Inserted},
      {"a closing slash is kept", "<head>\n<meta name=\"keywords\" content=\"a\" />\n</head>", kTag,
       "<head>\n<META NAME=\"keywords\" CONTENT=\"flights,travel\" />\n</head>",
       PageRewrite::Action::Replaced},
      {"a tag after the head is left, the new one inserted",
       "<head>\n</head>\n<meta name=\"keywords\" content=\"late\">", kTag,
       "<head>\n" + kTag + "\n</head>\n<meta name=\"keywords\" content=\"late\">",
       PageRewrite::Action::Inserted},
      {"quoted keywords outside a meta tag do not count",
       "<head>\n<meta name=\"a\"> <p title=\"keywords\">\n</head>", kTag,
       "<head>\n<meta name=\"a\"> <p title=\"keywords\">\n" + kTag + "\n</head>",
       PageRewrite::Action::Inserted},
      {"Windows-1252 page: letters it holds as bytes, others as references",
       "<head>\n<title>Caf\xe9</title>\n</head>\n",
       "<META NAME=\"keywords\" CONTENT=\"caf\xc3\xa9 \xe2\x82\xac,\xc4\x81\">",
       "<head>\n<title>Caf\xe9</title>\n<META NAME=\"keywords\" CONTENT=\"caf\xe9 \x80,&#257;\">\n"
       "</head>\n",
       PageRewrite::Action::Inserted},
      {"Windows-1252 page that the tag's letters as bytes would make look like another charset",
       "<head>\n<title>Lighthouse tours</title>\n</head>\n<p>Outer cell with \xb3 bold</p>\n",
       "<META NAME=\"keywords\" CONTENT=\"" + Repeated("\xc2\xb4", 60) + "hand tools\">",
       "<head>\n<title>Lighthouse tours</title>\n<META NAME=\"keywords\" CONTENT=\"" +
           Repeated("&#180;", 60) + "hand tools\">\n</head>\n<p>Outer cell with \xb3 bold</p>\n",
       PageRewrite::Action::Inserted},
      {"UTF-8 page: the phrase stays UTF-8", "<head>\n<title>Caf\xc3\xa9</title></head>",
       "<META NAME=\"keywords\" CONTENT=\"\xc4\x81\">",
       "<head>\n<title>Caf\xc3\xa9</title>\n<META NAME=\"keywords\" CONTENT=\"\xc4\x81\">\n</head>",
       PageRewrite::Action::Inserted},
      {"quotation marks and brackets in the phrases become references", "<head></head>",
       "<META NAME=\"keywords\" CONTENT=\"a \"b\" <c>,d\">",
       "<head>\n<META NAME=\"keywords\" CONTENT=\"a &quot;b&quot; &lt;c&gt;,d\">\n</head>",
       PageRewrite::Action::Inserted},
      {"only what stays of the page sets its encoding",
       "<head><meta name=\"keywords\" content=\"caf\xe9\"></head>",
       "<META NAME=\"keywords\" CONTENT=\"\xc4\x81\">",
       "<head><META NAME=\"keywords\" CONTENT=\"\xc4\x81\"></head>", PageRewrite::Action::Replaced},
      {"page in a declared charset of its own: every letter beyond ASCII as a reference",
       "<head><meta charset=\"koi8-r\">\n<title>\xcd\xcf\xd3\xcb\xd7\xc1</title>\n</head>\n",
       "<META NAME=\"keywords\" CONTENT=\"caf\xc3\xa9,\xd0\xbc\">",
       "<head><meta charset=\"koi8-r\">\n<title>\xcd\xcf\xd3\xcb\xd7\xc1</title>\n"
       "<META NAME=\"keywords\" CONTENT=\"caf&#233;,&#1084;\">\n</head>\n",
       PageRewrite::Action::Inserted},
      {"page declaring ISO-8859-1 in ASCII only: its letters as Windows-1252 bytes",
       "<head><meta charset=\"ISO-8859-1\"></head>",
       "<META NAME=\"keywords\" CONTENT=\"caf\xc3\xa9\">",
       "<head><meta charset=\"ISO-8859-1\">\n<META NAME=\"keywords\" CONTENT=\"caf\xe9\">\n</head>",
       PageRewrite::Action::Inserted},
      {"page declaring US-ASCII: references", "<head><meta charset=\"us-ascii\"></head>",
       "<META NAME=\"keywords\" CONTENT=\"caf\xc3\xa9\">",
       "<head><meta charset=\"us-ascii\">\n<META NAME=\"keywords\" CONTENT=\"caf&#233;\">\n</head>",
       PageRewrite::Action::Inserted},
      {"no </head>: nothing", "<html><body>x</body></html>\n", kTag, "",
       PageRewrite::Action::NoHeadEnd},
      {"a longer tag would push the charset out of the first 1024 bytes: nothing",
       "<head><meta name=\"keywords\" content=\"a\"><!--" + Repeated("x", 900) +
           "--><meta charset=\"iso-8859-2\"></head>",
       "<META NAME=\"keywords\" CONTENT=\"" + Repeated("flights,", 20) + "\">", "",
       PageRewrite::Action::ChangesCharset},
      {"the keywords tag is the one that declares the charset: nothing",
       "<head><meta name=\"keywords\" http-equiv=\"content-type\" "
       "content=\"text/html; charset=koi8-r\"></head><head><meta charset=\"utf-8\"></head>",
       kTag, "", PageRewrite::Action::ChangesCharset},
  };
  for (const RewriteCase& c : cases) {
    const PageRewrite result = RewritePage(c.page, c.tag);
    EXPECT_EQ(result.action, c.action) << c.what;
    EXPECT_EQ(result.page, c.expected) << c.what;
    if (result.page.empty()) continue;  // left alone
    // The span and its replacement describe the change exactly.
    EXPECT_EQ(c.page.substr(0, result.begin) + result.inserted + c.page.substr(result.end),
              result.page)
        << c.what;
    // Writing the same tag again changes nothing.
    EXPECT_EQ(RewritePage(result.page, c.tag).page, result.page) << c.what;
  }
}

TEST(RewritePage, LineEndIsThePagesFirst) {
  EXPECT_EQ(PageLineEnd("a\r\nb\nc"), "\r\n");
  EXPECT_EQ(PageLineEnd("a\rb\r\n"), "\r");
  EXPECT_EQ(PageLineEnd("a\nb\r\n"), "\n");
  EXPECT_EQ(PageLineEnd("a"), "\n");
  EXPECT_EQ(PageLineEnd("a\r"), "\r");
}

TEST(RewritePage, ManyUnclosedMetaTagsStayLinear) {
  // Every line shows a meta tag with the quoted word but none closes: the searches for ">"
  // and for the word are remembered, so this takes one pass, not one per line (one per line
  // would run past the test timeout).
  std::string page;
  for (int i = 0; i < 1000000; ++i) page += "<meta \"keywords\" <meta \n";
  const PageRewrite result = RewritePage(page, kTag);
  EXPECT_EQ(result.action, PageRewrite::Action::NoHeadEnd);
}

}  // namespace
}  // namespace tagwright
