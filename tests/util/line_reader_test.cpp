#include "util/line_reader.h"

#include <gtest/gtest.h>

#include <vector>

#include "support/temp_dir.h"

namespace tagwright {
namespace {

std::vector<std::string> ReadLines(const std::string& path) {
  LineReader reader;
  EXPECT_TRUE(reader.Open(path)) << reader.Error();
  std::vector<std::string> lines;
  std::string line;
  while (reader.Next(line)) lines.push_back(line);
  EXPECT_EQ(reader.Error(), "");
  return lines;
}

using Lines = std::vector<std::string>;

TEST(LineReader, CrLfCrAndLfEachEndALine) {
  test::TempDir dir;
  EXPECT_EQ(ReadLines(dir.Write("a", "one\r\ntwo\rthree\nfour")),
            (Lines{"one", "two", "three", "four"}));
  EXPECT_EQ(ReadLines(dir.Write("b", "one\n\r\n\ntwo\r\n")), (Lines{"one", "", "", "two"}));
  EXPECT_EQ(ReadLines(dir.Write("c", "")), Lines{});
  EXPECT_EQ(ReadLines(dir.Write("d", "\n")), Lines{""});
  EXPECT_EQ(ReadLines(dir.Write("e", std::string("a\0b\n", 4))), Lines{std::string("a\0b", 3)});
}

TEST(LineReader, LineEndsSplitAcrossReads) {
  test::TempDir dir;
  // A CR as the last byte of one read and its LF as the first byte of the next.
  for (std::size_t length : {65535u, 65536u, 131071u, 200000u}) {
    const std::string first(length, 'x');
    const Lines lines = ReadLines(dir.Write("f", first + "\r\nsecond\r"));
    ASSERT_EQ(lines.size(), 2u) << length;
    EXPECT_EQ(lines[0], first);
    EXPECT_EQ(lines[1], "second");
  }
}

TEST(LineReader, LongLinesBetweenShortOnes) {
  test::TempDir dir;
  // Lines longer than a read, with and without a line end after them, before and after
  // short lines; the caller's string is reused from line to line, as the scan does.
  const std::string longer(300001, 'y');
  const std::string longest(700000, 'z');
  const std::string path = dir.Write("g", "a\n" + longer + "\r\nb\r" + longest + "\nc\n" + longest);
  LineReader reader;
  ASSERT_TRUE(reader.Open(path));
  std::string line;
  Lines lines;
  while (reader.Next(line)) {
    lines.push_back(line);
    // The scan appends a closing blank to every line; there is room for it.
    EXPECT_GT(line.capacity(), line.size());
  }
  EXPECT_EQ(reader.Error(), "");
  EXPECT_EQ(lines, (Lines{"a", longer, "b", longest, "c", longest}));
}

TEST(LineReader, ManyReadsIntoTheSameRoomGiveEveryLineAsWritten) {
  test::TempDir dir;
  // Lines of changing length over many reads: room read into before holds older bytes, and
  // no line may show any of them.
  Lines written;
  std::string page;
  for (std::size_t i = 0; page.size() < std::size_t{5} * 65536; ++i) {
    written.push_back(std::string((i * 37) % 301, static_cast<char>('a' + i % 26)));
    page += written.back() + (i % 3 == 0 ? "\r\n" : "\n");
  }
  EXPECT_EQ(ReadLines(dir.Write("many", page)), written);
}

TEST(LineReader, OpenAndReadFailuresAreDescribed) {
  test::TempDir dir;
  LineReader reader;
  EXPECT_FALSE(reader.Open((dir.Path() / "missing.htm").string()));
  EXPECT_NE(reader.Error().find("missing.htm"), std::string::npos);
  LineReader folder;
  std::string line;
  if (folder.Open(dir.Path().string())) {
    EXPECT_FALSE(folder.Next(line));
  }
  EXPECT_FALSE(folder.Error().empty());
}

}  // namespace
}  // namespace tagwright
