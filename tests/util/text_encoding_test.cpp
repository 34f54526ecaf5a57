#include "util/text_encoding.h"

#include <gtest/gtest.h>

namespace tagwright {
namespace {

TEST(TextEncoding, RecognisesWellFormedUtf8) {
  EXPECT_TRUE(IsValidUtf8(""));
  EXPECT_TRUE(IsValidUtf8("plain"));
  EXPECT_TRUE(IsValidUtf8("caf\xc3\xa9 \xe2\x82\xac \xf0\x9f\x98\x80"));
  EXPECT_FALSE(IsValidUtf8("caf\xe9"));           // a Windows-1252 letter
  EXPECT_FALSE(IsValidUtf8("\xc3"));              // cut short
  EXPECT_FALSE(IsValidUtf8("\xc0\xaf"));          // overlong
  EXPECT_FALSE(IsValidUtf8("\xed\xa0\x80"));      // a surrogate
  EXPECT_FALSE(IsValidUtf8("\xf4\x90\x80\x80"));  // beyond U+10FFFF
  EXPECT_FALSE(IsValidUtf8("\x80"));
  // Long ASCII stretches before, between and after the multi-byte characters.
  const std::string ascii(21, 'a');
  EXPECT_TRUE(IsValidUtf8(ascii + "\xc3\xa9" + ascii + "\xe2\x82\xac" + ascii));
  EXPECT_FALSE(IsValidUtf8(ascii + "\xc3\xa9" + ascii + "\xe9" + ascii));
  EXPECT_FALSE(IsValidUtf8(ascii + ascii + "\xe2\x82"));
}

TEST(TextEncoding, ReadsOtherBytesAsWindows1252) {
  EXPECT_EQ(ToUtf8("caf\xe9"), "caf\xc3\xa9");
  EXPECT_EQ(ToUtf8("\x80 \x9f \x81"), "\xe2\x82\xac \xc5\xb8 \xef\xbf\xbd");
  EXPECT_EQ(ToUtf8("caf\xc3\xa9"), "caf\xc3\xa9");
  EXPECT_EQ(ToUtf8(std::string("a\0b", 3)), std::string("a\0b", 3));
}

}  // namespace
}  // namespace tagwright
