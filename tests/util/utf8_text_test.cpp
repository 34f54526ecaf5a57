#include "util/utf8_text.h"

#include <gtest/gtest.h>

namespace tagwright {
namespace {

TEST(Utf8Text, InvalidBytesBecomeReplacementCharacters) {
  const std::pair<std::string, std::string> cases[] = {
      {"plain", "plain"},
      {"caf\xc3\xa9 \xf0\x9f\x98\x80", "caf\xc3\xa9 \xf0\x9f\x98\x80"},
      {"caf\xe9", "caf\xef\xbf\xbd"},
      {"\xc0\xaf", "\xef\xbf\xbd\xef\xbf\xbd"},                  // overlong
      {"\xed\xa0\x80", "\xef\xbf\xbd\xef\xbf\xbd\xef\xbf\xbd"},  // surrogate
      {"\xe2\x82", "\xef\xbf\xbd\xef\xbf\xbd"},                  // cut short
  };
  for (const auto& [in, out] : cases) EXPECT_EQ(ReplaceInvalidUtf8(in), out) << in;
}

TEST(Utf8Text, Windows1252HoldsWhatItCanAndReferencesTheRest) {
  EXPECT_EQ(Utf8ToWindows1252("a\xc3\xa9\xe2\x82\xac\xc5\x93\xc4\x81\xf0\x9f\x98\x80"),
            "a\xe9\x80\x9c&#257;&#128512;");
  EXPECT_EQ(Utf8ToWindows1252("\xff"), "&#65533;");
}

TEST(Utf8Text, Base64) {
  const std::pair<std::string, std::string> cases[] = {
      {"", ""}, {"f", "Zg=="}, {"fo", "Zm8="}, {"foo", "Zm9v"}, {"\xff\xfe\x80", "//6A"}};
  for (const auto& [in, out] : cases) EXPECT_EQ(Base64(in), out) << in;
}

}  // namespace
}  // namespace tagwright
