#include "output/meta_tag.h"

#include <gtest/gtest.h>

#include <deque>
#include <random>
#include <string>

#include "output/phrase_search.h"

namespace tagwright {
namespace {

RankedWords Ranked(std::initializer_list<const char*> words) {
  RankedWords ranked;
  float value = 100;
  for (const char* w : words) ranked.push_back({w, 2, value--});
  return ranked;
}

MetaTagRequest Request(std::string maxKeywords, std::string maxBytes, std::string beginWith) {
  return MetaTagRequest{std::move(maxKeywords), std::move(maxBytes), std::move(beginWith)};
}

TEST(ReadLimit, TakesTheLeadingNumberRoundedHalfToEven) {
  EXPECT_EQ(ReadLimit("50"), 50);
  EXPECT_EQ(ReadLimit(""), 0);
  EXPECT_EQ(ReadLimit("+20"), 20);
  EXPECT_EQ(ReadLimit("12.5"), 12);
  EXPECT_EQ(ReadLimit("13.5"), 14);
  EXPECT_EQ(ReadLimit("7x"), 7);
  EXPECT_EQ(ReadLimit("x7"), 0);
}

TEST(GenerateMetaTag, StopsAtTheFirstWordOverTheByteLimit) {
  const MetaTag tag =
      GenerateMetaTag(Ranked({"alpha", "beta", "gamma", "a"}), Request("50", "40", ""), Settings{});
  EXPECT_EQ(tag.text,
            "<META NAME=\"keywords\" CONTENT=\"alpha\">\r\n\r\n"
            "Number of keywords in meta tag: 1\r\n"
            "Number of bytes in meta tag: 36");
  EXPECT_EQ(tag.keywordCount, 1);
  EXPECT_EQ(tag.tagLength, 36);
  EXPECT_FALSE(tag.noWords);

  // The comma in front of a word is counted even for the first word, which has none.
  const MetaTag none = GenerateMetaTag(Ranked({"alpha"}), Request("50", "36", ""), Settings{});
  EXPECT_EQ(none.text,
            "<META NAME=\"keywords\" CONTENT=\"\">\r\n\r\n"
            "Number of keywords in meta tag: 0\r\n"
            "Number of bytes in meta tag: 31");

  // A word that brings the count to the limit exactly still fits; one byte less and it does
  // not: the tag with "alpha" takes 36 bytes, and ",beta" 5 more.
  for (const auto& [limit, count] : {std::pair{"41", 2}, std::pair{"40", 1}}) {
    const MetaTag fill =
        GenerateMetaTag(Ranked({"alpha", "beta", "gamma"}), Request("50", limit, ""), Settings{});
    EXPECT_EQ(fill.keywordCount, count) << "limit " << limit;
  }
}

TEST(GenerateMetaTag, BeginsWithThePhrasesAndSkipsWordsInThem) {
  const RankedWords words = Ranked({"design", "alpha", "tools", "sign", "beta", "gamma", "delta"});
  const MetaTag tag =
      GenerateMetaTag(words, Request("5", "500", "  web design, html tools "), Settings{});
  EXPECT_EQ(tag.text,
            "<META NAME=\"keywords\" CONTENT=\"web design,html tools,alpha,beta,gamma\">\r\n\r\n"
            "Number of keywords in meta tag: 5\r\n"
            "Number of bytes in meta tag: 69");
  EXPECT_EQ(tag.beginWithText, "web design, html tools");

  // Without limits every word not found in the phrases is placed.
  EXPECT_EQ(
      GenerateMetaTag(words, Request("", "", "web design, html tools"), Settings{}).keywordCount,
      6);
}

TEST(GenerateMetaTag, NormalisesThePhrasesText) {
  const RankedWords words = Ranked({"alpha"});
  MetaTag tag = GenerateMetaTag(words, Request("50", "500", "Web Design,"), Settings{});
  EXPECT_TRUE(tag.text.starts_with("<META NAME=\"keywords\" CONTENT=\"web design,alpha\">"));
  EXPECT_EQ(tag.keywordCount, 2);
  EXPECT_EQ(tag.beginWithText, "Web Design,");

  // Only ", " loses its blank; other blanks and other bytes stay.
  tag = GenerateMetaTag(words, Request("50", "500", "A,  B , Café"), Settings{});
  EXPECT_TRUE(tag.text.starts_with("<META NAME=\"keywords\" CONTENT=\"a, b ,café,alpha\">"));
  EXPECT_EQ(tag.keywordCount, 4);
  // Bytes of the UTF-8 text: the é takes two.
  EXPECT_EQ(tag.tagLength, 31 + 17);

  // Letters beyond A to Z are lower-cased too; in text that is not UTF-8 only A to Z are.
  tag = GenerateMetaTag(words, Request("50", "500", "CAFÉ, ÜBER ΣΟΦΙΑ, Ж\xff"), Settings{});
  EXPECT_TRUE(
      tag.text.starts_with("<META NAME=\"keywords\" CONTENT=\"cafÉ,Über ΣΟΦΙΑ,Ж\xff,alpha\">"));
  tag = GenerateMetaTag(words, Request("50", "500", "CAFÉ, ÜBER ΣΟΦΙΑ, Ж"), Settings{});
  EXPECT_TRUE(tag.text.starts_with("<META NAME=\"keywords\" CONTENT=\"café,über σοφια,ж,alpha\">"));

  // A lone comma leaves no phrase but counts one keyword.
  tag = GenerateMetaTag(words, Request("50", "500", " , "), Settings{});
  EXPECT_TRUE(tag.text.starts_with("<META NAME=\"keywords\" CONTENT=\",alpha\">"));
  EXPECT_EQ(tag.keywordCount, 2);
  EXPECT_EQ(tag.beginWithText, ",");
}

TEST(GenerateMetaTag, KeptKeywordsComeFirstAsSpeltAndBytesAreMeasured) {
  // Every character one byte, as in a single-byte charset.
  const TagMeasure oneByteEach = [](std::string_view piece) {
    std::size_t count = 0;
    for (const char c : piece) count += (static_cast<unsigned char>(c) & 0xC0) != 0x80 ? 1 : 0;
    return count;
  };
  struct Case {
    const char* what;
    RankedWords words;
    MetaTagRequest request;
    std::string kept;
    bool measured;
    std::string tag;
    std::int64_t keywords;
    std::int64_t bytes;
  };
  const Case cases[] = {
      {"kept keywords first, then the phrases, then words not in either",
       Ranked({"paris", "rome", "tours"}), Request("50", "", "Rome"), "Paris,Trips & Tours", false,
       "<META NAME=\"keywords\" CONTENT=\"Paris,Trips & Tours,rome\">", 3, 55},
      {"kept keywords count against the keyword limit", Ranked({"alpha", "beta"}),
       Request("3", "", ""), "One,Two", false, "<META NAME=\"keywords\" CONTENT=\"One,Two,alpha\">",
       3, 44},
      {"UTF-8 bytes: the second word does not fit",
       Ranked({"\xd0\xbf\xd1\x83\xd1\x82\xd1\x8c", "\xd0\xbc\xd0\xb8\xd1\x80"}),
       Request("50", "43", ""), "", false,
       "<META NAME=\"keywords\" CONTENT=\"\xd0\xbf\xd1\x83\xd1\x82\xd1\x8c\">", 1, 39},
      {"bytes as written: it does",
       Ranked({"\xd0\xbf\xd1\x83\xd1\x82\xd1\x8c", "\xd0\xbc\xd0\xb8\xd1\x80"}),
       Request("50", "43", ""), "", true,
       "<META NAME=\"keywords\" CONTENT=\"\xd0\xbf\xd1\x83\xd1\x82\xd1\x8c,"
       "\xd0\xbc\xd0\xb8\xd1\x80\">",
       2, 39},
  };
  for (const Case& c : cases) {
    const MetaTag tag = GenerateMetaTag(c.words, c.request, Settings{}, c.kept,
                                        c.measured ? oneByteEach : TagMeasure());
    EXPECT_EQ(tag.tag, c.tag) << c.what;
    EXPECT_EQ(tag.keywordCount, c.keywords) << c.what;
    EXPECT_EQ(tag.tagLength, c.bytes) << c.what;
  }
  EXPECT_EQ(KeywordsList(" a , ,b\n c,,"), "a,b\n c");
}

TEST(GenerateMetaTag, PhrasesAreNeverCut) {
  const std::string phrases = "search engine optimisation, keyword density, meta tags";
  const MetaTag tag = GenerateMetaTag(Ranked({"alpha"}), Request("5", "60", phrases), Settings{});
  EXPECT_EQ(tag.text,
            "<META NAME=\"keywords\" CONTENT=\"search engine optimisation,keyword density,meta "
            "tags\">\r\n\r\nNumber of keywords in meta tag: 3\r\nNumber of bytes in meta tag: 83");

  // A word inside the phrases that does not fit ends the tag too; shorter ones are not tried.
  const MetaTag skipped = GenerateMetaTag(
      Ranked({"optimisation", "cat"}), Request("", "60", "search engine optimisation"), Settings{});
  EXPECT_EQ(skipped.keywordCount, 1);
}

TEST(GenerateMetaTag, EmptyTableGivesTheNoWordsMessage) {
  const MetaTag tag = GenerateMetaTag({}, Request("50", "500", "  Web  "), Settings{});
  EXPECT_TRUE(tag.noWords);
  EXPECT_EQ(tag.text, "No words with more than 3 letters occur at least twice.");
  EXPECT_EQ(tag.beginWithText, "  Web  ");
}

std::string RandomWord(std::mt19937& random, std::size_t maxLength) {
  std::string word(1 + random() % maxLength, 'a');
  for (char& c : word) c = static_cast<char>('a' + random() % 4);
  return word;
}

TEST(PhraseSearch, IndexFindsWhatADirectSearchFinds) {
  std::mt19937 random(7);
  std::string text;
  while (text.size() < 3000) text += RandomWord(random, 8) + (random() % 3 ? " " : ",");
  text += std::string(70, 'd');
  PhraseSearch direct(text, text.size());
  PhraseSearch indexed(text, 0);
  int found = 0;
  for (int i = 0; i < 3000; ++i) {
    const std::string word = RandomWord(random, 9);
    const bool expected = text.find(word) != std::string::npos;
    found += expected;
    ASSERT_EQ(indexed.Contains(word), expected) << word;
    ASSERT_EQ(direct.Contains(word), expected) << word;
  }
  EXPECT_GT(found, 100);
  EXPECT_LT(found, 2900);
  // The last characters, and words up to the cut and beyond it.
  EXPECT_TRUE(indexed.Contains(std::string(60, 'd')));
  EXPECT_TRUE(indexed.Contains(std::string(61, 'd')));
  EXPECT_TRUE(indexed.Contains(std::string(70, 'd')));
  EXPECT_FALSE(indexed.Contains(std::string(71, 'd')));
  EXPECT_FALSE(indexed.Contains("dde"));
}

TEST(GenerateMetaTag, HugePhrasesGiveTheSameTag) {
  std::mt19937 random(11);
  // Comma-separated words with a trailing comma, and the phrases text they become.
  std::string phrases;
  std::string normalised;
  std::int64_t phraseCount = 0;
  while (phrases.size() < std::size_t{200} * 1024) {
    const std::string phrase = RandomWord(random, 7);
    phrases += phrase + ", ";
    normalised += (phraseCount++ > 0 ? "," : "") + phrase;
  }
  std::deque<std::string> texts;  // where the ranked words point
  RankedWords words;
  std::string expected;
  std::int64_t placed = 0;
  for (int i = 0; i < 2000; ++i) {
    const std::string& word = texts.emplace_back(RandomWord(random, 9));
    words.push_back({word, 2, 50});
    if (normalised.find(word) == std::string::npos) {
      expected += "," + word;
      ++placed;
    }
  }
  ASSERT_GT(placed, 100);
  const MetaTag tag = GenerateMetaTag(words, Request("", "", phrases), Settings{});
  EXPECT_EQ(tag.keywordCount, phraseCount + placed);
  EXPECT_EQ(tag.text.substr(31, normalised.size() + expected.size()), normalised + expected);
}

}  // namespace
}  // namespace tagwright
