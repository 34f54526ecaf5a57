#include "output/limits.h"

#include <gtest/gtest.h>

#include <string>

namespace tagwright {
namespace {

struct Check {
  std::string typed;
  std::string left;
  std::string message;
};

TEST(CheckMaxNumKeywords, FiltersAndKeepsTheRange) {
  const std::string tooMany = "Maximum number of keywords in the meta tag is 100.";
  const std::string tooFew = "Minimum number of keywords in the meta tag is 5.";
  for (const Check& c : std::initializer_list<Check>{{"100", "100", ""},
                                                     {"5", "5", ""},
                                                     {"101", "50", tooMany},
                                                     {"4", "50", tooFew},
                                                     {"0", "50", tooFew},
                                                     {"", "", ""},
                                                     {"abc", "", ""},
                                                     {"1.5", "15", ""},
                                                     {"7x", "7", ""},
                                                     {"-20", "20", ""},
                                                     {"+20", "+20", ""},
                                                     {"2+3", "23", ""},
                                                     {"+", "50", tooFew},
                                                     {"99999999999999999999999", "50", tooMany}}) {
    std::string text = c.typed;
    EXPECT_EQ(CheckMaxNumKeywords(text), c.message) << c.typed;
    EXPECT_EQ(text, c.left) << c.typed;
  }
}

TEST(CheckMaxNumBytes, HasOnlyAnUpperBound) {
  const std::string tooMany = "Maximum number of bytes in the meta tag is 1000.";
  for (const Check& c : std::initializer_list<Check>{{"1000", "1000", ""},
                                                     {"1001", "500", tooMany},
                                                     {"0", "0", ""},
                                                     {"3", "3", ""},
                                                     {"", "", ""},
                                                     {" 1 0 0 1", "500", tooMany},
                                                     {"-5", "5", ""}}) {
    std::string text = c.typed;
    EXPECT_EQ(CheckMaxNumBytes(text), c.message) << c.typed;
    EXPECT_EQ(text, c.left) << c.typed;
  }
}

}  // namespace
}  // namespace tagwright
