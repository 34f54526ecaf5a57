#include "json_output.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>

namespace tagwright::cli {
namespace {

TEST(JsonOutput, Base64) {
  const std::pair<std::string, std::string> cases[] = {
      {"", ""}, {"f", "Zg=="}, {"fo", "Zm8="}, {"foo", "Zm9v"}, {"\xff\xfe\x80", "//6A"}};
  for (const auto& [in, out] : cases) EXPECT_EQ(Base64(in), out) << in;
}

TEST(JsonOutput, FileNamesThatAreNotUtf8KeepTheirBytes) {
  EXPECT_EQ(JsonFileFields("a\"b.htm"), "\"file\":\"a\\\"b.htm\"");
  EXPECT_EQ(JsonFileFields("caf\xe9.htm"),
            "\"file\":\"caf\xef\xbf\xbd.htm\",\"file_base64\":\"Y2Fm6S5odG0=\"");
}

TEST(JsonOutput, ApplyGivesTheDiffOnlyForADryRun) {
  MetaTag tag;
  tag.tag = "<META NAME=\"keywords\" CONTENT=\"a\">";
  tag.keywordCount = 1;
  tag.tagLength = 36;
  const std::string written = ApplyJson("p.htm", "inserted", tag, std::nullopt);
  EXPECT_EQ(written,
            "{\"file\":\"p.htm\",\"action\":\"inserted\",\"tag\":\"<META NAME=\\\"keywords\\\" "
            "CONTENT=\\\"a\\\">\",\"keywords\":1,\"bytes\":36}\n");
  EXPECT_EQ(ApplyJson("p.htm", "inserted", tag, "-a\n+b\n"),
            written.substr(0, written.size() - 2) + ",\"diff\":\"-a\\n+b\\n\"}\n");
}

}  // namespace
}  // namespace tagwright::cli
