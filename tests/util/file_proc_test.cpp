#include "util/file_proc.h"

#include <gtest/gtest.h>

#include "support/temp_dir.h"

namespace tagwright {
namespace {

TEST(FileProc, OnlyRegularFilesExist) {
  test::TempDir dir;
  EXPECT_TRUE(FileExists(dir.Write("page.htm", "x")));
  EXPECT_FALSE(FileExists(dir.Path().string()));
  EXPECT_FALSE(FileExists(""));
  EXPECT_FALSE(FileExists((dir.Path() / "none.htm").string()));
  EXPECT_FALSE(FileExists("/dev/null"));
}

TEST(FileProc, InputFileChecksInOrder) {
  test::TempDir dir;
  const auto folder = dir.Path() / "my.site";
  std::filesystem::create_directory(folder);
  const std::string base = dir.Path().string() + "/";
  EXPECT_EQ(CheckInputFileSpec((folder / "page").string()), FileSpecCheck::BadForm);
  EXPECT_EQ(CheckInputFileSpec("page"), FileSpecCheck::BadForm);
  EXPECT_EQ(CheckInputFileSpec(base + "page.txt"), FileSpecCheck::BadExtension);
  EXPECT_EQ(CheckInputFileSpec(base + "page.hm"), FileSpecCheck::BadExtension);
  EXPECT_EQ(CheckInputFileSpec(base + "page.htm"), FileSpecCheck::NotFound);
  for (const char* name : {"page.HTML", "page.htm", "page.shtml", "page.xhtml"}) {
    EXPECT_EQ(CheckInputFileSpec(dir.Write(name, "x")), FileSpecCheck::Valid) << name;
  }
  EXPECT_EQ(FileSpecMessage(FileSpecCheck::BadForm), "Invalid input file specification");
  EXPECT_EQ(FileSpecMessage(FileSpecCheck::BadExtension),
            "Input file must have .htm or .html extension.");
  EXPECT_EQ(FileSpecMessage(FileSpecCheck::NotFound), "Input file does not exist.");
}

}  // namespace
}  // namespace tagwright
