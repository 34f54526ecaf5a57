// The option table is the one place where an option is defined: the man page must name each
// of its options, and --help and the completion, made from it, offer each one.

#include <gtest/gtest.h>

#include <fstream>
#include <set>
#include <sstream>

#include "cli_options.h"

namespace tagwright::cli {
namespace {

std::string ReadFile(const char* path) {
  std::ifstream file(path, std::ios::binary);
  std::ostringstream text;
  text << file.rdbuf();
  return text.str();
}

TEST(OptionTable, TheManPageNamesEveryOption) {
  const std::string man = ReadFile(TAGWRIGHT_CLI_MAN_PAGE);
  ASSERT_FALSE(man.empty()) << TAGWRIGHT_CLI_MAN_PAGE;
  for (const OptionRow& row : OptionTable()) {
    // scdoc's bold, as the OPTIONS section writes an option's name.
    EXPECT_NE(man.find("*" + std::string(row.name) + "*"), std::string::npos) << row.name;
    if (row.letter != 0) {
      EXPECT_NE(man.find(std::string("*-") + row.letter + "*"), std::string::npos) << row.name;
    }
  }
}

TEST(OptionTable, NamesAreUniqueAndEveryRowIsComplete) {
  std::set<std::string_view> names;
  std::set<char> letters;
  for (const OptionRow& row : OptionTable()) {
    EXPECT_TRUE(row.name.starts_with("--")) << row.name;
    EXPECT_TRUE(names.insert(row.name).second) << row.name;
    if (row.letter != 0) {
      EXPECT_TRUE(letters.insert(row.letter).second) << row.name;
    }
    EXPECT_FALSE(row.help.empty()) << row.name;
    EXPECT_NE(row.set, nullptr) << row.name;
    EXPECT_EQ(row.valueName.empty(), row.arg == OptionArg::None) << row.name;
    if (row.arg == OptionArg::Number || row.arg == OptionArg::Limit) {
      EXPECT_LE(row.range.first, row.range.last) << row.name;
      EXPECT_FALSE(row.what.empty()) << row.name;
    }
    if (row.arg == OptionArg::Choice) {
      EXPECT_FALSE(row.words.empty()) << row.name;
    }
  }
}

TEST(OptionTable, HelpAndCompletionOfferEveryOption) {
  const std::string usage = UsageText();
  const std::string completion = BashCompletion();
  for (const OptionRow& row : OptionTable()) {
    const std::string name(row.name);
    // At the start of a line of the options' list, after its short name if it has one.
    const std::string listed =
        "\n  " + (row.letter != 0 ? std::string("-") + row.letter + ", " : "") + name;
    EXPECT_NE(usage.find(listed), std::string::npos) << name;
    EXPECT_NE(completion.find(" " + name), std::string::npos) << name;
  }
  // No placeholder is left in the help.
  EXPECT_EQ(usage.find('{'), std::string::npos);
}

}  // namespace
}  // namespace tagwright::cli
