#include "scan/apply_tag.h"

#include <gtest/gtest.h>

#include <string>

#include "util/charset.h"

namespace tagwright {
namespace {

const std::string kTag = "<META NAME=\"keywords\" CONTENT=\"flights,travel\">";
using Action = PageRewrite::Action;

std::string Repeated(const std::string& text, int times) {
  std::string result;
  for (int i = 0; i < times; ++i) result += text;
  return result;
}

// UTF-8 text as Windows-1251 bytes.
std::string Cp1251(const std::string& text) {
  return EncodeWithCharset(text, "windows-1251").value_or("");
}

struct RewriteCase {
  const char* what;
  std::string page;
  std::string tag;
  std::string expected;  // empty when the page is left alone
  Action action;
};

void Check(const RewriteCase& c) {
  const PageRewrite result = RewritePage(c.page, c.tag);
  EXPECT_EQ(result.action, c.action) << c.what;
  EXPECT_EQ(result.page, c.expected) << c.what;
  if (result.page.empty()) return;  // left alone
  // The span and its replacement describe the change exactly.
  EXPECT_EQ(c.page.substr(0, result.begin) + result.inserted + c.page.substr(result.end),
            result.page)
      << c.what;
  // Writing the same tag again changes nothing.
  EXPECT_EQ(RewritePage(result.page, c.tag).page, result.page) << c.what;
}

TEST(RewritePage, FindsTheRealHeadEnd) {
  const RewriteCase cases[] = {
      {"LF, inserted above an indented </head>",
       "<html>\n<head>\n  <title>T</title>\n  </head>\n<body>x</body>\n", kTag,
       "<html>\n<head>\n  <title>T</title>\n  " + kTag + "\n  </head>\n<body>x</body>\n",
       Action::Inserted},
      {"CR LF", "<head>\r\n<title>T</title>\r\n</head>\r\n", kTag,
       "<head>\r\n<title>T</title>\r\n" + kTag + "\r\n</head>\r\n", Action::Inserted},
      {"CR only", "<head>\r<title>T</title>\r</head>\r<p>x", kTag,
       "<head>\r<title>T</title>\r" + kTag + "\r</head>\r<p>x", Action::Inserted},
      {"head on one line, CR LF elsewhere", "<html><head><title>T</title></head><body>\r\nx</body>",
       kTag, "<html><head><title>T</title>\r\n" + kTag + "\r\n</head><body>\r\nx</body>",
       Action::Inserted},
      {"</head> in a comment", "<head>\n<title>T</title>\n<!-- </head> -->\n</head>\n<p>x", kTag,
       "<head>\n<title>T</title>\n<!-- </head> -->\n" + kTag + "\n</head>\n<p>x", Action::Inserted},
      {"</head> in a script string", "<head>\n<script>var s = \"</head>\";</script>\n</head>\n<p>x",
       kTag, "<head>\n<script>var s = \"</head>\";</script>\n" + kTag + "\n</head>\n<p>x",
       Action::Inserted},
      {"</head> in a style sheet", "<head>\n<style>/* </head> */</style>\n</head>", kTag,
       "<head>\n<style>/* </head> */</style>\n" + kTag + "\n</head>", Action::Inserted},
      {"</head> in an attribute value", "<head>\n<link rel=\"x\" title=\"</head>\">\n</head>", kTag,
       "<head>\n<link rel=\"x\" title=\"</head>\">\n" + kTag + "\n</head>", Action::Inserted},
      {"</head> in the title", "<head>\n<title>a </head> b</title>\n</head>", kTag,
       "<head>\n<title>a </head> b</title>\n" + kTag + "\n</head>", Action::Inserted},
      // Outside foreign content "<![CDATA[" opens a bogus comment that ends at the first ">";
      // the text after it begins the body, and the "</head>" after that is no end tag.
      {"</head> in a CDATA section", "<head><title>T</title><![CDATA[ </head> ]]>\n</head>", kTag,
       "<head><title>T</title>\n" + kTag + "<![CDATA[ </head> ]]>\n</head>", Action::Inserted},
      {"</head > with a blank", "<head>\n<title>T</title>\n</head >\n", kTag,
       "<head>\n<title>T</title>\n" + kTag + "\n</head >\n", Action::Inserted},
      {"</HEAD> in capitals", "<HEAD>\n<TITLE>T</TITLE>\n</HEAD>\n", kTag,
       "<HEAD>\n<TITLE>T</TITLE>\n" + kTag + "\n</HEAD>\n", Action::Inserted},
      {"</head> broken over a line", "<head>\n<title>T</title></head\n>\n", kTag,
       "<head>\n<title>T</title>\n" + kTag + "\n</head\n>\n", Action::Inserted},
      {"no </head>: after the head's last element; a \"</head>\" string in a body script",
       "<html><head><title>T</title>\n<body><script>var s = \"<html><head></head>\";</script>",
       kTag,
       "<html><head><title>T</title>\n" + kTag +
           "\n<body><script>var s = \"<html><head></head>\";</script>",
       Action::Inserted},
      {"no </head>: the last element's indentation",
       "<head>\n  <title>T</title>\n  <link rel=x>\n<p>x", kTag,
       "<head>\n  <title>T</title>\n  <link rel=x>\n  " + kTag + "\n<p>x", Action::Inserted},
      {"no </head> and an empty head: after <head>", "<html><head><p>x", kTag,
       "<html><head>\n" + kTag + "<p>x", Action::Inserted},
      {"a <noscript> in the head holds text, as with scripts on",
       "<head>\n<noscript><img src=x></noscript>\n<meta name=\"keywords\" "
       "content=\"old\">\n</head>",
       kTag, "<head>\n<noscript><img src=x></noscript>\n" + kTag + "\n</head>", Action::Replaced},
      {"a UTF-8 byte order mark before the head",
       "\xEF\xBB\xBF<html><head><meta name=keywords content=a></head>", kTag,
       "\xEF\xBB\xBF<html><head>" + kTag + "</head>", Action::Replaced},
      {"no head at all", "<p>Flights and travel</p>\n", kTag, "", Action::NoHead},
      {"an empty page", "", kTag, "", Action::NoHead},
      {"a title that runs to the page's end", "<head><title>never closed", kTag, "",
       Action::NoHead},
      // A template's content is markup: a "</template>" in an attribute value that the page's
      // end leaves open ends nothing, and the template runs to the page's end.
      {"a </template> within a quoted value that never closes",
       "<head><template><p title=\"a</template>\n<p>text text", kTag, "", Action::NoHead},
      {"a </template> within a quoted value, the template's end after it",
       "<head><template><p title=\"a</template>\">b</p></template>\n<title>T</title>\n</head>",
       kTag,
       "<head><template><p title=\"a</template>\">b</p></template>\n<title>T</title>\n" + kTag +
           "\n</head>",
       Action::Inserted},
      // Within a template a <noscript> holds text with scripting on, markup without: where
      // the template ends is not sure, and the page is left alone.
      {"a <noscript> within a template in the head",
       "<head><template><noscript></template><p></noscript></template>\n<title>T</title>\n"
       "</head>",
       kTag, "", Action::NoHead},
  };
  for (const RewriteCase& c : cases) Check(c);
}

TEST(RewritePage, FindsOnlyTheKeywordsTag) {
  const RewriteCase cases[] = {
      {"head on one line with its tag", "<head><META name=\"Keywords\" content=\"a\"></HEAD>x",
       kTag, "<head>" + kTag + "</HEAD>x", Action::Replaced},
      {"the rest of the tag's line kept",
       "<head>\n  <meta name=\"description\" content=\"d\"><meta name=\"keywords\" "
       "content=\"old\"> <!-- x -->\n</head>\n",
       kTag,
       "<head>\n  <meta name=\"description\" content=\"d\">" + kTag + " <!-- x -->\n</head>\n",
       Action::Replaced},
      {"a tag going on over its line end",
       "<head>\r\n<meta name=\"keywords\"\r\n content=\"a, b\">\r\n</head>", kTag,
       "<head>\r\n" + kTag + "\r\n</head>", Action::Replaced},
      {"a description whose content is \"keywords\"",
       "<head>\n<meta name=\"description\" content=\"keywords\">\n</head>", kTag,
       "<head>\n<meta name=\"description\" content=\"keywords\">\n" + kTag + "\n</head>",
       Action::Inserted},
      {"an og:title", "<head>\n<meta property=\"og:title\" content=\"keywords\">\n</head>", kTag,
       "<head>\n<meta property=\"og:title\" content=\"keywords\">\n" + kTag + "\n</head>",
       Action::Inserted},
      {"a description mentioning \"keywords\", then the real tag",
       "<head>\n<meta name=\"description\" content='the \"keywords\" tag'>\n"
       "<meta name=\"keywords\" content=\"old\">\n</head>",
       kTag,
       "<head>\n<meta name=\"description\" content='the \"keywords\" tag'>\n" + kTag + "\n</head>",
       Action::Replaced},
      {"a content with \">\" replaced whole",
       "<head>\n<meta name=\"keywords\" content=\"a > b, old\">\n</head>", kTag,
       "<head>\n" + kTag + "\n</head>", Action::Replaced},
      {"a content with \"<\"", "<head><meta content='a<b' name=keywords></head>", kTag,
       "<head>" + kTag + "</head>", Action::Replaced},
      {"a commented-out tag stays, the real one is replaced",
       "<head>\n<!-- <meta name=\"keywords\" content=\"old\"> -->\n"
       "<meta name=\"keywords\" content=\"real\">\n</head>",
       kTag, "<head>\n<!-- <meta name=\"keywords\" content=\"old\"> -->\n" + kTag + "\n</head>",
       Action::Replaced},
      {"a tag inside document.write",
       "<head>\n<script>document.write('<meta name=\"keywords\" content=\"x\">');</script>\n"
       "</head>",
       kTag,
       "<head>\n<script>document.write('<meta name=\"keywords\" content=\"x\">');</script>\n" +
           kTag + "\n</head>",
       Action::Inserted},
      {"name in single quotes", "<head><meta name='keywords' content='a'></head>", kTag,
       "<head>" + kTag + "</head>", Action::Replaced},
      {"name without quotes", "<head><meta name=keywords content=a></head>", kTag,
       "<head>" + kTag + "</head>", Action::Replaced},
      {"NAME=KEYWORDS", "<head><META NAME=KEYWORDS CONTENT=A></head>", kTag,
       "<head>" + kTag + "</head>", Action::Replaced},
      {"blanks around the name", "<head><meta name=\" Keywords\t\" content=a></head>", kTag,
       "<head>" + kTag + "</head>", Action::Replaced},
      {"a tab after <meta", "<head>\n<meta\tname=\"keywords\" content=\"a\">\n</head>", kTag,
       "<head>\n" + kTag + "\n</head>", Action::Replaced},
      {"a line break after <meta, name= on the next line",
       "<head>\n<meta\ncontent=\"a\"\n  name=\n\"keywords\">\n</head>", kTag,
       "<head>\n" + kTag + "\n</head>", Action::Replaced},
      {"several tags: the first replaced",
       "<head>\n<meta name=keywords content=one>\n<meta name=keywords content=two>\n</head>", kTag,
       "<head>\n" + kTag + "\n<meta name=keywords content=two>\n</head>", Action::Replaced},
      {"a tag in the body is no tag of the head",
       "<head>\n<title>T</title>\n</head>\n<body><meta name=\"keywords\" content=\"late\">", kTag,
       "<head>\n<title>T</title>\n" + kTag +
           "\n</head>\n<body><meta name=\"keywords\" "
           "content=\"late\">",
       Action::Inserted},
      {"a tag just after </head> still belongs to the head",
       "<head>\n</head>\n<meta name=\"keywords\" content=\"late\">", kTag,
       "<head>\n</head>\n" + kTag, Action::Replaced},
      {"a tag that never closes swallows the </head>", "<head>\n<meta name=\"keywords\"\n</head> >",
       kTag, "<head>\n" + kTag + " >", Action::Replaced},
      {"a dropped end tag just before the tag is kept",
       "<head></><meta name=keywords content=a></head>", kTag, "<head></>" + kTag + "</head>",
       Action::Replaced},
      {"a closing slash is kept", "<head>\n<meta name=\"keywords\" content=\"a\" />\n</head>", kTag,
       "<head>\n<META NAME=\"keywords\" CONTENT=\"flights,travel\" />\n</head>", Action::Replaced},
      {"quoted keywords outside a meta tag do not count",
       "<head>\n<meta name=\"a\"> <link title=\"keywords\">\n</head>", kTag,
       "<head>\n<meta name=\"a\"> <link title=\"keywords\">\n" + kTag + "\n</head>",
       Action::Inserted},
  };
  for (const RewriteCase& c : cases) Check(c);
  const PageRewrite several = RewritePage(cases[16].page, kTag);
  EXPECT_EQ(several.otherKeywordsTags, 1u);
}

TEST(RewritePage, WritesTheTagInThePagesCharset) {
  const std::string cyrillicText = Repeated(
      "\xd0\x9f\xd1\x83\xd1\x82\xd0\xb5\xd1\x88\xd0\xb5\xd1\x81\xd1\x82\xd0\xb2\xd0\xb8\xd1\x8f "
      "\xd0\xbf\xd0\xbe \xd0\xb3\xd0\xbe\xd1\x80\xd0\xbe\xd0\xb4\xd0\xb0\xd0\xbc \xd0\xb8 "
      "\xd1\x81\xd1\x82\xd1\x80\xd0\xb0\xd0\xbd\xd0\xb0\xd0\xbc \xd0\xbc\xd0\xb8\xd1\x80\xd0\xb0. ",
      20);
  const std::string cyrillicTag =
      "<META NAME=\"keywords\" CONTENT=\"\xd0\xbf\xd1\x83\xd1\x82\xd0\xb5\xd1\x88\xd0\xb5\xd1\x81"
      "\xd1\x82\xd0\xb2\xd0\xb8\xd1\x8f,caf\xc3\xa9\">";
  const RewriteCase cases[] = {
      {"Windows-1252 page: letters it holds as bytes, others as references",
       "<head>\n<title>Caf\xe9</title>\n</head>\n",
       "<META NAME=\"keywords\" CONTENT=\"caf\xc3\xa9 \xe2\x82\xac,\xc4\x81\">",
       "<head>\n<title>Caf\xe9</title>\n<META NAME=\"keywords\" CONTENT=\"caf\xe9 \x80,&#257;\">\n"
       "</head>\n",
       Action::Inserted},
      {"Windows-1252 page that the tag's letters as bytes would make look like another charset",
       "<head>\n<title>Lighthouse tours</title>\n</head>\n<p>Outer cell with \xb3 bold</p>\n",
       "<META NAME=\"keywords\" CONTENT=\"" + Repeated("\xc2\xb4", 60) + "hand tools\">",
       "<head>\n<title>Lighthouse tours</title>\n<META NAME=\"keywords\" CONTENT=\"" +
           Repeated("&#180;", 60) + "hand tools\">\n</head>\n<p>Outer cell with \xb3 bold</p>\n",
       Action::Inserted},
      {"UTF-8 page: the phrase stays UTF-8", "<head>\n<title>Caf\xc3\xa9</title></head>",
       "<META NAME=\"keywords\" CONTENT=\"\xc4\x81\">",
       "<head>\n<title>Caf\xc3\xa9</title>\n<META NAME=\"keywords\" CONTENT=\"\xc4\x81\">\n</head>",
       Action::Inserted},
      {"quotation marks, brackets and a starting reference's & become references", "<head></head>",
       "<META NAME=\"keywords\" CONTENT=\"a \"b\" <c>,d&amp;e,f & g\">",
       "<head>\n<META NAME=\"keywords\" CONTENT=\"a &quot;b&quot; &lt;c&gt;,d&amp;amp;e,f & g\">\n"
       "</head>",
       Action::Inserted},
      {"only what stays of the page sets its encoding",
       "<head><meta name=\"keywords\" content=\"caf\xe9\"></head>",
       "<META NAME=\"keywords\" CONTENT=\"\xc4\x81\">",
       "<head><META NAME=\"keywords\" CONTENT=\"\xc4\x81\"></head>", Action::Replaced},
      {"KOI8-R page: its letters as KOI8-R bytes, others as references",
       "<head><meta charset=\"koi8-r\">\n<title>\xcd\xcf\xd3\xcb\xd7\xc1</title>\n</head>\n",
       "<META NAME=\"keywords\" CONTENT=\"caf\xc3\xa9,\xd0\xbc\">",
       "<head><meta charset=\"koi8-r\">\n<title>\xcd\xcf\xd3\xcb\xd7\xc1</title>\n"
       "<META NAME=\"keywords\" CONTENT=\"caf&#233;,\xcd\">\n</head>\n",
       Action::Inserted},
      {"declared Windows-1251 page: Cyrillic as Windows-1251 bytes",
       "<head><meta charset=\"windows-1251\"><title>" + Cp1251(cyrillicText) + "</title></head>",
       cyrillicTag,
       "<head><meta charset=\"windows-1251\"><title>" + Cp1251(cyrillicText) + "</title>\n" +
           Cp1251(cyrillicTag) + "\n</head>",
       Action::Inserted},
      {"undeclared page guessed as Windows-1251: the same",
       "<head><title>x</title></head><p>" + Cp1251(cyrillicText) + "</p>", cyrillicTag,
       "<head><title>x</title>\n" + Cp1251(cyrillicTag) + "\n</head><p>" + Cp1251(cyrillicText) +
           "</p>",
       Action::Inserted},
      {"page declaring ISO-8859-1 in ASCII only: its letters as Windows-1252 bytes",
       "<head><meta charset=\"ISO-8859-1\"></head>",
       "<META NAME=\"keywords\" CONTENT=\"caf\xc3\xa9\">",
       "<head><meta charset=\"ISO-8859-1\">\n<META NAME=\"keywords\" CONTENT=\"caf\xe9\">\n</head>",
       Action::Inserted},
      {"page declaring US-ASCII: references", "<head><meta charset=\"us-ascii\"></head>",
       "<META NAME=\"keywords\" CONTENT=\"caf\xc3\xa9\">",
       "<head><meta charset=\"us-ascii\">\n<META NAME=\"keywords\" CONTENT=\"caf&#233;\">\n</head>",
       Action::Inserted},
      {"a UTF-16 page is left alone as such", std::string("\xff\xfe<\0h\0e\0a\0d\0>\0", 14), kTag,
       "", Action::WideCharset},
      {"an ISO-2022-JP page is left alone too",
       "<head><meta charset=\"iso-2022-jp\"><title>\x1b$B$3$s\x1b(B</title></head>", kTag, "",
       Action::WideCharset},
      {"a longer tag would push the charset out of the first 1024 bytes: nothing",
       "<head><meta name=\"keywords\" content=\"a\"><!--" + Repeated("x", 900) +
           "--><meta charset=\"iso-8859-2\"></head>",
       "<META NAME=\"keywords\" CONTENT=\"" + Repeated("flights,", 20) + "\">", "",
       Action::ChangesCharset},
      {"the keywords tag is the one that declares the charset: nothing",
       "<head><meta name=\"keywords\" http-equiv=\"content-type\" "
       "content=\"text/html; charset=koi8-r\"></head><head><meta charset=\"utf-8\"></head>",
       kTag, "", Action::ChangesCharset},
  };
  for (const RewriteCase& c : cases) Check(c);
}

TEST(RewritePage, PlanReadsTheKeywordsToKeep) {
  const PagePlan plan = PlanRewrite(
      "<head><meta charset=windows-1251><meta name=keywords content=\"Paris, " +
      Cp1251("\xd0\x9c\xd0\xbe\xd1\x81\xd0\xba\xd0\xb2\xd0\xb0") + " &amp; Rome\"></head>");
  EXPECT_EQ(plan.action, Action::Replaced);
  EXPECT_EQ(plan.charset, "windows-1251");
  EXPECT_EQ(plan.existingKeywords,
            "Paris, \xd0\x9c\xd0\xbe\xd1\x81\xd0\xba\xd0\xb2\xd0\xb0 & Rome");
}

TEST(RewritePage, LineEndIsThePagesFirst) {
  EXPECT_EQ(PageLineEnd("a\r\nb\nc"), "\r\n");
  EXPECT_EQ(PageLineEnd("a\rb\r\n"), "\r");
  EXPECT_EQ(PageLineEnd("a\nb\r\n"), "\n");
  EXPECT_EQ(PageLineEnd("a"), "\n");
  EXPECT_EQ(PageLineEnd("a\r"), "\r");
}

TEST(LocateHead, ReadsOnlyAsMuchOfALongPageAsTheHeadNeeds) {
  // Deeply nested markup after the head costs the parser more than linear time; the head is
  // decided from the page's first piece, so this stays quick.
  std::string page = "<head><meta name=keywords content=a></head><body>";
  for (int i = 0; i < 200000; ++i) page += "<div>";
  const HeadLayout layout = LocateHead(page);
  ASSERT_EQ(layout.keywordsTags.size(), 1u);
  EXPECT_EQ(layout.keywordsTags.front(), (ByteSpan{6, 36}));
  EXPECT_EQ(layout.insertAt, 36u);
  // A head decided only far into the page is still found whole.
  const std::string longHead =
      "<head><style>" + Repeated("p{}", 100000) + "</style><meta name=keywords></head>";
  EXPECT_EQ(LocateHead(longHead).keywordsTags.size(), 1u);
  // A head of deeply nested template content reads as text; one longer than a MiB is not read.
  const std::string nested = "<head><template>" + Repeated("<div>", 300000);
  EXPECT_TRUE(LocateHead(nested).tooLong);
  // A "</head>" that is text (within a head's noscript) makes the first piece end within a
  // long keywords tag after it: the body that the cut seems to begin decides nothing, so the
  // tag is found whole, and writing it again replaces it instead of adding a second one.
  const std::string cut = "<noscript></head></noscript>\n<meta name=keywords content=\"" +
                          Repeated("a", 3000) + "\">text";
  const HeadLayout layout2 = LocateHead(cut);
  ASSERT_EQ(layout2.keywordsTags.size(), 1u);
  EXPECT_EQ(layout2.keywordsTags.front().begin, cut.find("<meta"));
  const std::string page2 = "<noscript></head></noscript>\ntext";
  const std::string tag = "<META NAME=\"keywords\" CONTENT=\"" + Repeated("b", 3000) + "\">";
  const PageRewrite first = RewritePage(page2, tag);
  ASSERT_EQ(first.action, Action::Inserted);
  EXPECT_EQ(RewritePage(first.page, tag).page, first.page);
}

}  // namespace
}  // namespace tagwright
