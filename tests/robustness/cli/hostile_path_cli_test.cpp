#include <sys/stat.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "cli_run.h"
#include "support/temp_dir.h"

namespace tagwright::cli {
namespace {

namespace fs = std::filesystem;

TEST(HostilePathCli, FifoFolderAndDevicesAreReportedAndSkipped) {
  test::TempDir dir;
  const std::string fifo = (dir.Path() / "fifo.html").string();
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  const std::string folder = (dir.Path() / "folder.html").string();
  fs::create_directory(folder);
  const std::string zero = (dir.Path() / "zero.html").string();
  fs::create_symlink("/dev/zero", zero);
  const std::string page = dir.Write("page.html", "<head></head><p>lantern lantern</p>\n");

  const std::pair<std::string, std::string> bad[] = {{fifo, "not a regular file"},
                                                     {folder, "is a folder (use -r to search it)"},
                                                     {zero, "not a regular file"}};
  // What the good page gives, processed all the same: nothing waits on the FIFO or reads
  // /dev/zero for ever.
  const std::pair<const char*, const char*> commands[] = {
      {"list", "lantern"},
      {"generate", "CONTENT=\"lantern\""},
      {"existing", "No keyword meta tag found."},
      {"apply", ""}};
  for (const auto& [path, message] : bad) {
    for (const auto& [command, shown] : commands) {
      dir.Write("page.html", "<head></head><p>lantern lantern</p>\n");
      std::ostringstream out, err;
      EXPECT_EQ(RunCli({command, page, path}, out, err), 1) << command << " " << path;
      // apply counts the pages at the end.
      const std::string summary =
          std::string(command) == "apply"
              ? "tagwright-cli: 2 pages: 1 changed, 0 unchanged, 1 left alone (1 not a page)\n"
              : "";
      EXPECT_EQ(err.str(), "tagwright-cli: " + path + ": " + message + "\n" + summary) << command;
      EXPECT_NE(out.str().find(shown), std::string::npos) << command << ": " << out.str();
    }
  }
  EXPECT_EQ(
      test::ReadFile(page),
      "<head>\n<META NAME=\"keywords\" CONTENT=\"lantern\">\n</head><p>lantern lantern</p>\n");
}

}  // namespace
}  // namespace tagwright::cli
