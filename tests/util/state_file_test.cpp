#include "util/state_file.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>

#include "support/temp_dir.h"

namespace tagwright {
namespace {

StateValues Changed() {
  StateValues v;
  v.inputFile = "/home/me/site, new/page.html";
  v.beginWith = "web design, html tools";
  v.maxKeywords = "75";
  v.maxBytes = "";
  v.shortWordSizeIndex = 0;
  v.thresholdFrequencyIndex = 8;
  v.tableWeightIndex = 9;
  v.existingKeywordsWeightIndex = -1;
  v.boldWeightIndex = 8;
  v.ignoreShortWords = 0;
  v.ignoreCommonWords = 2;
  v.modernMarkup = true;
  return v;
}

TEST(StateFile, TwelveLinesInTheFixedFormat) {
  StateValues v;
  v.inputFile = "/tmp/page.htm";
  const std::string eleven =
      "\"/tmp/page.htm\"\r\n\"\"\r\n\"50\"\r\n\"500\"\r\n2\r\n1\r\n1\r\n1\r\n2\r\n1\r\n1\r\n";
  EXPECT_EQ(FormatState(v), eleven + "0\r\n");
  v.modernMarkup = true;
  EXPECT_EQ(FormatState(v), eleven + "1\r\n");
}

TEST(StateFile, ModernReadingIsTheOptionalTwelfthItem) {
  StateValues v;
  const std::string eleven =
      "\"\"\r\n\"\"\r\n\"50\"\r\n\"500\"\r\n2\r\n1\r\n1\r\n1\r\n2\r\n1\r\n1\r\n";
  EXPECT_EQ(ParseState(eleven), v);  // a file from before the twelfth item: off
  v.modernMarkup = true;
  EXPECT_EQ(ParseState(eleven + "1\r\n"), v);
  for (const char* unusable : {"x", "2", "-1", ""}) {
    const auto loaded = ParseState(eleven + unusable + "\r\n");
    ASSERT_TRUE(loaded.has_value()) << unusable;
    EXPECT_FALSE(loaded->modernMarkup) << unusable;
  }
}

TEST(StateFile, HandEditedNumbersAreTheNumbersTheySay) {
  const std::string head = "\"\"\r\n\"\"\r\n\"50\"\r\n\"500\"\r\n";
  const std::string tail = "\r\n1\r\n1\r\n1\r\n2\r\n1\r\n1\r\n";
  const struct {
    const char* line5;
    int index;  // -2: the load fails
  } cases[] = {{"+2", 2},   {"2.0", 2},  {"+8.000", 8}, {"-1.0", -1}, {"0", 0},    {"2.5", -2},
               {"++2", -2}, {"+-1", -2}, {"2x", -2},    {"9.0", -2},  {"1e0", -2}, {".", -2}};
  for (const auto& c : cases) {
    const auto loaded = ParseState(head + c.line5 + tail);
    if (c.index == -2) {
      EXPECT_FALSE(loaded.has_value()) << c.line5;
    } else {
      ASSERT_TRUE(loaded.has_value()) << c.line5;
      EXPECT_EQ(loaded->shortWordSizeIndex, c.index) << c.line5;
    }
  }
}

TEST(StateFile, LongLimitTextsAreKeptAsStored) {
  StateValues v;
  v.maxKeywords = "10005";
  v.maxBytes = "+1000000";
  EXPECT_EQ(ParseState(FormatState(v)), v);
}

TEST(StateFile, ReadOnlyFileIsNotReplaced) {
  test::TempDir dir;
  const std::string path = (dir.Path() / "tgw.usr").string();
  ASSERT_EQ(SaveStateFile(path, StateValues{}), "");
  std::filesystem::permissions(path, std::filesystem::perms::owner_read |
                                         std::filesystem::perms::group_read |
                                         std::filesystem::perms::others_read);
  EXPECT_NE(SaveStateFile(path, Changed()), "");
  EXPECT_EQ(LoadStateFile(path), StateValues{});
  EXPECT_FALSE(std::filesystem::exists(path + ".new"));
  // Writable again, it is replaced as before.
  std::filesystem::permissions(path, std::filesystem::perms::owner_write,
                               std::filesystem::perm_options::add);
  EXPECT_EQ(SaveStateFile(path, Changed()), "");
  EXPECT_EQ(LoadStateFile(path), Changed());
}

TEST(StateFile, EveryValueComesBack) {
  const StateValues v = Changed();
  EXPECT_EQ(ParseState(FormatState(v)), v);
}

TEST(StateFile, QuotationMarksAreDoubledAndComeBack) {
  StateValues v;
  v.beginWith = "the \"best\" tools, \"\"";
  v.inputFile.assign(1, '"');
  const std::string text = FormatState(v);
  EXPECT_NE(text.find("\"the \"\"best\"\" tools, \"\"\"\"\"\r\n"), std::string::npos);
  EXPECT_EQ(ParseState(text), v);
}

TEST(StateFile, HandWrittenItems) {
  // Items end at commas; items after the eleventh are ignored; an unescaped quotation mark
  // ends its item and the rest up to the comma is dropped.
  const auto v =
      ParseState("\"a.htm\",\"the \"best\" tools\"\n  \"50\" , \"500\"\n2,1,1\n1\n2\n1\n1,9,9\n");
  ASSERT_TRUE(v.has_value());
  EXPECT_EQ(v->inputFile, "a.htm");
  EXPECT_EQ(v->beginWith, "the ");
  EXPECT_EQ(v->maxKeywords, "50");
  EXPECT_EQ(v->ignoreCommonWords, 1);
  // Check boxes take the rounded leading number; lines in Windows-1252 become UTF-8.
  const auto w = ParseState("\"caf\xe9.htm\"\n\"\"\n\"\"\n\"\"\n2\n1\n1\n1\n2\n1.4 x\n\n");
  ASSERT_TRUE(w.has_value());
  EXPECT_EQ(w->inputFile, "caf\xc3\xa9.htm");
  EXPECT_EQ(w->ignoreShortWords, 1);
  EXPECT_EQ(w->ignoreCommonWords, 0);
}

TEST(StateFile, UnusableFilesAreRefused) {
  const std::string good = FormatState(StateValues{});
  EXPECT_TRUE(ParseState(good).has_value());
  const std::string tenLines = good.substr(0, good.rfind("1\r\n"));
  EXPECT_FALSE(ParseState(tenLines).has_value());
  EXPECT_FALSE(ParseState("").has_value());
  auto withLine = [&](int line, const std::string& value) {
    std::string text;
    std::size_t begin = 0;
    for (int i = 1; i <= 11; ++i) {
      const std::size_t end = good.find("\r\n", begin);
      text += (i == line ? value : good.substr(begin, end - begin)) + "\r\n";
      begin = end + 2;
    }
    return ParseState(text);
  };
  EXPECT_FALSE(withLine(5, "12").has_value());
  EXPECT_FALSE(withLine(5, "9").has_value());
  EXPECT_TRUE(withLine(5, "8").has_value());
  EXPECT_TRUE(withLine(7, "9").has_value());
  EXPECT_FALSE(withLine(7, "10").has_value());
  EXPECT_TRUE(withLine(6, "-1").has_value());
  EXPECT_FALSE(withLine(6, "-2").has_value());
  EXPECT_FALSE(withLine(6, "x").has_value());
  EXPECT_FALSE(withLine(6, "99999999999999999999").has_value());
  EXPECT_FALSE(withLine(10, "3").has_value());
  EXPECT_FALSE(withLine(11, "-1").has_value());
  EXPECT_TRUE(withLine(11, "").has_value());
}

TEST(StateFile, SavingReplacesTheFileAndKeepsItOnFailure) {
  test::TempDir dir;
  const std::string path = (dir.Path() / "tgw.usr").string();
  EXPECT_EQ(LoadStateFile(path), std::nullopt);
  EXPECT_EQ(SaveStateFile(path, Changed()), "");
  EXPECT_EQ(LoadStateFile(path), Changed());
  EXPECT_EQ(SaveStateFile(path, StateValues{}), "");
  EXPECT_EQ(LoadStateFile(path), StateValues{});
  EXPECT_FALSE(std::filesystem::exists(path + ".new"));

  if (::geteuid() != 0) {  // root may write anywhere
    std::filesystem::permissions(
        dir.Path(), std::filesystem::perms::owner_read | std::filesystem::perms::owner_exec);
    EXPECT_NE(SaveStateFile(path, Changed()), "");
    EXPECT_EQ(LoadStateFile(path), StateValues{});
  }
  // A path whose folder does not exist cannot be written: the failure is described.
  EXPECT_NE(SaveStateFile((dir.Path() / "no" / "tgw.usr").string(), Changed()), "");
}

}  // namespace
}  // namespace tagwright
