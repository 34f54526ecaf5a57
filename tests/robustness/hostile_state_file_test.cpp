// State files that no run of the program wrote: each one loads or gives way to the defaults.

#include <gtest/gtest.h>

#include <random>
#include <string>

#include "page_analysis.h"
#include "support/temp_dir.h"
#include "util/state_file.h"

namespace tagwright {
namespace {

using namespace std::string_literals;

// The eleven lines of a state file; the texts are given without their quotes.
std::string StateLines(const std::string& input, const std::string& begin,
                       const std::string& numbers = "2\r\n1\r\n1\r\n1\r\n2\r\n1\r\n1\r\n") {
  return "\"" + input + "\"\r\n\"" + begin + "\"\r\n\"50\"\r\n\"500\"\r\n" + numbers;
}

// Parses `text` both from memory and from a file, which must agree.
std::optional<StateValues> Load(const std::string& text) {
  test::TempDir dir;
  std::optional<StateValues> loaded = LoadStateFile(dir.Write("tgw.usr", text));
  EXPECT_EQ(loaded, ParseState(text));
  return loaded;
}

TEST(HostileStateFile, EmptyAndBinaryFilesFallBackToTheDefaults) {
  EXPECT_EQ(Load(""), std::nullopt);
  EXPECT_EQ(Load("\r\n\r\n\r\n"), std::nullopt);
  std::mt19937 random(7);
  std::string noise(1 << 16, '\0');
  for (char& c : noise) c = static_cast<char>(random());
  EXPECT_EQ(Load(noise), std::nullopt);

  // Binary bytes inside the texts are kept; single-byte text comes back as UTF-8.
  const auto loaded = Load(StateLines("a\0b\xff.html"s, "\x01\x7f"s));
  ASSERT_TRUE(loaded);
  EXPECT_EQ(loaded->inputFile, "a\0b\xc3\xbf.html"s);
  EXPECT_EQ(loaded->beginWith, "\x01\x7f");
}

TEST(HostileStateFile, TenMegabyteFilesLoadOrFallBack) {
  constexpr std::size_t k10MB = 10u << 20;
  // A begin-with text of 10 MB is kept exactly, through saving and loading.
  StateValues huge;
  huge.beginWith = test::Repeat("garden tools, ", k10MB / 14);
  test::TempDir dir;
  const std::string path = (dir.Path() / "tgw.usr").string();
  ASSERT_EQ(SaveStateFile(path, huge), "");
  EXPECT_EQ(LoadStateFile(path), huge);

  // 10 MB of ones: the first eleven items load, the rest is not needed.
  const auto ones = Load(test::Repeat("1\r\n", k10MB / 3));
  ASSERT_TRUE(ones);
  EXPECT_EQ(ones->inputFile, "1");
  EXPECT_EQ(ones->shortWordSizeIndex, 1);
  EXPECT_EQ(ones->ignoreCommonWords, 1);

  // One 10 MB line without a comma is one item: too few.
  EXPECT_EQ(Load(test::Repeat("x", k10MB)), std::nullopt);
}

TEST(HostileStateFile, DoubleQuotesEverywhere) {
  // A megabyte of quotation marks is one quoted item.
  EXPECT_EQ(Load(std::string(1 << 20, '"')), std::nullopt);
  // Two marks inside a quoted text stand for one: a line of 1002 marks is the opening one, 500
  // pairs and the closing one.
  const auto marks = Load(StateLines(std::string(1000, '"'), std::string(998, '"')));
  ASSERT_TRUE(marks);
  EXPECT_EQ(marks->inputFile, std::string(500, '"'));
  EXPECT_EQ(marks->beginWith, std::string(499, '"'));
  // A text with quotation marks comes back as it was saved.
  StateValues quoted;
  quoted.inputFile = "\"a\" \"\"b\"\".html\"";
  quoted.beginWith = "\"";
  EXPECT_EQ(ParseState(FormatState(quoted)), quoted);
  // Quotation marks around a number are harmless; a mark alone on a number line is not.
  EXPECT_TRUE(Load(StateLines("a.html", "", "\"2\"\r\n1\r\n1\r\n1\r\n2\r\n1\r\n1\r\n")));
  EXPECT_EQ(Load(StateLines("a.html", "", "\"\r\n1\r\n1\r\n1\r\n2\r\n1\r\n1\r\n")), std::nullopt);
}

TEST(HostileStateFile, NegativeAndHugeNumbers) {
  const auto numbers = [](const std::string& index, const std::string& check) {
    return Load(StateLines("a.html", "", index + "\r\n1\r\n1\r\n1\r\n2\r\n" + check + "\r\n1\r\n"));
  };
  ASSERT_TRUE(numbers("-1", "1"));
  EXPECT_EQ(numbers("-1", "1")->shortWordSizeIndex, -1);  // no entry chosen
  EXPECT_EQ(numbers("-0", "1")->shortWordSizeIndex, 0);
  for (const std::string& index : {"-2"s, "9"s, "32768"s, "-32769"s, "2147483648"s,
                                   "99999999999999999999999999999999"s, "1e3"s, "0x1"s, ""s}) {
    EXPECT_EQ(numbers(index, "1"), std::nullopt) << index;
  }
  // A check box takes the rounded leading number of its line, from 0 to 2.
  EXPECT_EQ(numbers("2", "2.5")->ignoreShortWords, 2);
  EXPECT_EQ(numbers("2", "1e999")->ignoreShortWords, 1);
  EXPECT_EQ(numbers("2", "junk")->ignoreShortWords, 0);
  for (const std::string& check :
       {"-1"s, "2.6"s, "3"s, std::string(400, '9'), "-" + std::string(400, '9')}) {
    EXPECT_EQ(numbers("2", check), std::nullopt) << check.substr(0, 20);
  }
  // The limit boxes take any text; it is checked where it is used.
  const auto limits = Load("\"a.html\"\r\n\"\"\r\n\"-99999999999999999999\"\r\n\"1e400\"\r\n" +
                           "2\r\n1\r\n1\r\n1\r\n2\r\n1\r\n1\r\n"s);
  ASSERT_TRUE(limits);
  EXPECT_EQ(limits->maxKeywords, "-99999999999999999999");
  EXPECT_EQ(limits->maxBytes, "1e400");
}

TEST(HostileStateFile, ThousandsOfItemsKeepTheFirstEleven) {
  const std::string first = "\"a.html\",\"begin\",\"75\",\"900\",0,8,9,0,8,0,2";
  const auto many = Load(first + test::Repeat(",\"junk\",-5", 50'000) + "\r\n" +
                         test::Repeat("\"more\"\r\n", 50'000));
  ASSERT_TRUE(many);
  EXPECT_EQ(many->inputFile, "a.html");
  EXPECT_EQ(many->beginWith, "begin");
  EXPECT_EQ(many->maxKeywords, "75");
  EXPECT_EQ(many->tableWeightIndex, 9);
  EXPECT_EQ(many->ignoreCommonWords, 2);
  // A line of commas is a line of empty items, and an empty item is no list index.
  EXPECT_EQ(Load(std::string(100'000, ',')), std::nullopt);
}

TEST(HostileStateFile, UnwritablePlaceReportsTheFailure) {
  test::TempDir dir;
  StateValues values;
  EXPECT_NE(SaveStateFile((dir.Path() / "missing" / "tgw.usr").string(), values), "");
  // A folder in the way of the state file is left alone.
  const auto folder = dir.Path() / "tgw.usr";
  std::filesystem::create_directories(folder / "inside");
  EXPECT_NE(SaveStateFile(folder.string(), values), "");
  EXPECT_TRUE(std::filesystem::is_directory(folder / "inside"));
  EXPECT_EQ(LoadStateFile(folder.string()), std::nullopt);
}

}  // namespace
}  // namespace tagwright
