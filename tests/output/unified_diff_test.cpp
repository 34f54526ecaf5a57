#include "output/unified_diff.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>
#include <optional>
#include <string>

namespace tagwright {
namespace {

TEST(UnifiedDiff, OneHunkWithThreeLinesOfContext) {
  const struct {
    const char* what;
    std::string before;
    std::string after;
    std::string expected;
  } cases[] = {
      {"same", "a\nb\n", "a\nb\n", ""},
      {"insertion in the middle", "1\n2\n3\n4\n5\n6\n7\n8\n", "1\n2\n3\n4\nnew\n5\n6\n7\n8\n",
       "--- p.html\n+++ p.html\n@@ -2,6 +2,7 @@\n 2\n 3\n 4\n+new\n 5\n 6\n 7\n"},
      {"change of a lone line without LF", "old", "new",
       "--- p.html\n+++ p.html\n@@ -1 +1 @@\n-old\n\\ No newline at end of file\n+new\n"
       "\\ No newline at end of file\n"},
      {"CR LF lines keep their CR", "a\r\nb\r\n", "a\r\nx\r\nb\r\n",
       "--- p.html\n+++ p.html\n@@ -1,2 +1,3 @@\n a\r\n+x\r\n b\r\n"},
      {"insertion into an empty file", "", "x\n", "--- p.html\n+++ p.html\n@@ -0,0 +1 @@\n+x\n"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(UnifiedDiff(c.before, c.after, "p.html"), c.expected) << c.what;
  }
}

TEST(UnifiedDiff, LabelsQuoteNamesAsDiffDoes) {
  const char* zone = std::getenv("TZ");
  const std::optional<std::string> saved = zone ? std::optional<std::string>(zone) : std::nullopt;
  ::setenv("TZ", "UTC-2", 1);  // two hours east of UTC
  ::tzset();
  const struct {
    std::string name;
    std::string label;
  } cases[] = {
      {"page.html", "page.html"},
      {"site/a-b_c.html", "site/a-b_c.html"},
      {"my page.html", "\"my page.html\""},
      {"tab\t.html", "\"tab\\t.html\""},
      {"line\nbreak.html", "\"line\\nbreak.html\""},
      {"cr\r.html", "\"cr\\r.html\""},
      {"say \"hi\".html", "\"say \\\"hi\\\".html\""},
      {"back\\slash.html", "\"back\\\\slash.html\""},
      {"caf\xc3\xa9.html", "\"caf\\303\\251.html\""},
      {"bell\a\x01.html", "\"bell\\a\\001.html\""},
      {"del\x7f.html", "del\x7f.html"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(DiffLabel(c.name, {1, 2}), c.label + "\t1970-01-01 02:00:01.000000002 +0200")
        << c.name;
  }
  if (saved) {
    ::setenv("TZ", saved->c_str(), 1);
  } else {
    ::unsetenv("TZ");
  }
  ::tzset();
}

}  // namespace
}  // namespace tagwright
