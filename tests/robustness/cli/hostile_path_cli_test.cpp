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

TEST(hostile_path_cli, fifo_folder_and_devices_are_not_found) {
  test::TempDir dir;
  const std::string fifo = (dir.Path() / "fifo.html").string();
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  const std::string folder = (dir.Path() / "folder.html").string();
  fs::create_directory(folder);
  const std::string zero = (dir.Path() / "zero.html").string();
  fs::create_symlink("/dev/zero", zero);
  const std::string page = dir.Write("page.html", "<p>lantern lantern</p>\n");

  for (const std::string& path : {fifo, folder, zero}) {
    for (const char* command : {"list", "generate", "existing"}) {
      std::ostringstream out, err;
      // A good page before the bad one: nothing is written before every file is checked.
      EXPECT_EQ(RunCli({command, page, path}, out, err), 2) << command << " " << path;
      EXPECT_EQ(err.str(), "Input file not found.\n") << command << " " << path;
      EXPECT_EQ(out.str(), "") << command << " " << path;
    }
  }
}

}  // namespace
}  // namespace tagwright::cli
