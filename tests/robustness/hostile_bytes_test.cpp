// Pages that are not text: binary bytes, NUL and control bytes, invalid UTF-8.

#include <gtest/gtest.h>

#include <random>
#include <string>

#include "output/word_list.h"
#include "page_analysis.h"
#include "scan/existing_tag.h"
#include "support/temp_dir.h"
#include "util/text_encoding.h"

namespace tagwright {
namespace {

using namespace std::string_literals;

TEST(HostileBytes, NulAndControlBytesEndWordsWithoutLosingAny) {
  // NUL, DEL, ESC and a control byte that is no marker each end a word; a NUL inside a tag
  // is passed over with the tag.
  const auto page = test::AnalysePage(
      "garden\0garden\x10garden\x7fgarden\x1bgarden\n<p\0 class=\"x\0\">lantern\0</p>"s,
      test::KeepAll());
  ASSERT_EQ(page.result.outcome, RunOutcome::Completed);
  EXPECT_EQ(page.Frequency("garden"), 5);
  EXPECT_EQ(page.Weight("garden"), 15);
  EXPECT_EQ(page.Frequency("lantern"), 1);
  EXPECT_EQ(page.table.WordCount(), 2);
}

TEST(HostileBytes, BinaryFileGivesAClearResultAndTextAfterItCounts) {
  std::mt19937 random(20240607);
  std::string page(1 << 20, '\0');
  for (char& c : page) c = static_cast<char>(random());
  // Close whatever the noise may have left open, then a line of ordinary text.
  page += "\n-->\n</script>\n</style>\n>\n<p>lantern compass lantern</p>\n";
  test::TempDir dir;
  const std::string path = dir.Write("noise.html", page);

  Settings settings = test::KeepAll();
  test::CountingObserver observer;
  Analysis analysis(settings, observer);
  ASSERT_EQ(RunScan(FileLines(path), analysis, observer).outcome, RunOutcome::Completed);
  EXPECT_EQ(analysis.Table().Find("lantern").frequency, 2);
  EXPECT_EQ(analysis.Table().Find("compass").frequency, 1);
  for (const RankedWord& w : analysis.Ranked()) {
    ASSERT_EQ(w.word.find_first_not_of("abcdefghijklmnopqrstuvwxyz"), std::string::npos);
  }
  EXPECT_TRUE(ShowWordList(analysis.Ranked(), settings).starts_with("Rank Value Frequency\r\n"));
  EXPECT_EQ(ShowExistingKeywordMetaTag(path), "No keyword meta tag found.");
}

TEST(HostileBytes, InvalidUtf8ReadsAsSingleByteTextWithTheSameWords) {
  // The same words in UTF-8, in Windows-1252, and with bytes that are no UTF-8 at all (a lone
  // continuation byte, a truncated sequence, an encoded surrogate, an overlong form).
  const auto utf8 = test::AnalysePage("caf\xc3\xa9 na\xc3\xafve garden\n", test::KeepAll());
  const auto single = test::AnalysePage("caf\xe9 na\xefve garden\n", test::KeepAll());
  const auto broken = test::AnalysePage(
      "caf\xe9 na\xefve\x80garden \xed\xa0\x80 \xc0\xaf meadow\xc3\n", test::KeepAll());
  for (const auto* page : {&utf8, &single, &broken}) {
    ASSERT_EQ(page->result.outcome, RunOutcome::Completed);
    EXPECT_EQ(page->Frequency("cafe"), 1);
    EXPECT_EQ(page->Frequency("naive"), 1);
    EXPECT_EQ(page->Frequency("garden"), 1);
  }
  EXPECT_EQ(utf8.table.WordCount(), 3);
  EXPECT_EQ(broken.Frequency("meadowa"), 1);  // a trailing 0xC3 is the letter A with tilde
}

TEST(HostileBytes, ExistingTagWithInvalidUtf8IsShownAsUtf8) {
  test::TempDir dir;
  const std::string path = dir.Write(
      "page.html", "<head>\n<meta name=\"keywords\" content=\"caf\xe9, \xff\xfe\x80, \xc3\">\n");
  const std::string shown = ShowExistingKeywordMetaTag(path);
  EXPECT_TRUE(IsValidUtf8(shown));
  EXPECT_EQ(shown,
            "Existing keyword meta tag:\r\n<meta name=\"keywords\" content=\"caf\xc3\xa9, "
            "\xc3\xbf\xc3\xbe\xe2\x82\xac, \xc3\x83\">");
}

TEST(HostileBytes, EmptyAndBlankPagesGiveTheNoWordsMessage) {
  for (const std::string& text : {""s, "\r\n\r\n"s, "    \n \r  "s, "\t\t\n\f\v"s}) {
    const auto page = test::AnalysePage(text);
    ASSERT_EQ(page.result.outcome, RunOutcome::Completed);
    EXPECT_EQ(page.table.WordCount(), 0);
    EXPECT_EQ(ShowWordList(page.ranked, Settings{}),
              "No words with more than 3 letters occur at least twice.");
  }
}

}  // namespace
}  // namespace tagwright
