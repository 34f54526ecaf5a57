// Paths that name something other than a readable regular file: a folder, a FIFO, a link to a
// device, a file that goes away between the check and the read.

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <filesystem>
#include <future>
#include <string>
#include <thread>

#include "page_analysis.h"
#include "scan/existing_tag.h"
#include "support/temp_dir.h"
#include "util/file_proc.h"
#include "util/state_file.h"

namespace tagwright {
namespace {

namespace fs = std::filesystem;

// A folder of things named like pages and state files that are no regular files.
struct HostilePaths {
  test::TempDir dir;
  std::string folder = (dir.Path() / "folder.html").string();
  std::string fifo = (dir.Path() / "fifo.html").string();
  std::string zero = (dir.Path() / "zero.html").string();
  std::string null = (dir.Path() / "null.htm").string();
  std::string dangling = (dir.Path() / "dangling.html").string();

  HostilePaths() {
    fs::create_directory(folder);
    EXPECT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    fs::create_symlink("/dev/zero", zero);
    fs::create_symlink("/dev/null", null);
    fs::create_symlink(dir.Path() / "missing.html", dangling);
  }
};

// While a call runs, keeps offering `content` to any reader of the FIFO. A reader that waits
// on the FIFO gets the content (and so a wrong result) instead of blocking the test forever.
// Whether the feeder's open ever succeeded says nothing: a reader that opens without blocking
// and then refuses the FIFO also has it open for a moment.
class FifoFeeder {
 public:
  FifoFeeder(std::string path, std::string content)
      : thread_([this, path = std::move(path), content = std::move(content)] {
          while (!done_) {
            // Opening for writing without blocking succeeds only while a reader has it open.
            const int fd = ::open(path.c_str(), O_WRONLY | O_NONBLOCK);
            if (fd >= 0) {
              (void)!::write(fd, content.data(), content.size());
              ::close(fd);
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
          }
        }) {}
  ~FifoFeeder() {
    done_ = true;
    thread_.join();
  }

 private:
  std::atomic<bool> done_{false};
  std::thread thread_;
};

const char kValidState[] =
    "\"a.html\"\r\n\"\"\r\n\"50\"\r\n\"500\"\r\n2\r\n1\r\n1\r\n1\r\n2\r\n1\r\n1\r\n";

TEST(HostilePath, FolderFifoAndDevicesNamedLikePagesAreNotFiles) {
  HostilePaths paths;
  for (const std::string& path :
       {paths.folder, paths.fifo, paths.zero, paths.null, paths.dangling}) {
    EXPECT_FALSE(FileExists(path)) << path;
    EXPECT_EQ(CheckInputFileSpec(path), FileSpecCheck::NotFound) << path;
  }
}

TEST(HostilePath, ReadingRefusesWhatIsNoRegularFileWithoutBlocking) {
  HostilePaths paths;
  FifoFeeder feeder(paths.fifo, std::string(kValidState) + "<p>lantern compass</p>\n");
  // A reader that waited on the FIFO would be fed and give words or a state; one that waited on
  // a device would never return. The watchdog's limit is generous: refusing takes microseconds.
  auto calls = std::async(std::launch::async, [&] {
    for (const std::string& path : {paths.folder, paths.fifo, paths.zero, paths.null}) {
      Settings settings = test::KeepAll();
      test::CountingObserver observer;
      Analysis analysis(settings, observer);
      const RunResult result = RunScan(FileLines(path), analysis, observer);
      EXPECT_EQ(result.outcome, RunOutcome::Failed) << path;
      EXPECT_FALSE(result.error.empty()) << path;
      EXPECT_EQ(analysis.Table().WordCount(), 0) << path;
      EXPECT_EQ(ShowExistingKeywordMetaTag(path), "Error when looking for keywords meta tag.")
          << path;
      // The window reads its state file at start-up without any check before.
      EXPECT_EQ(LoadStateFile(path), std::nullopt) << path;
    }
  });
  ASSERT_EQ(calls.wait_for(std::chrono::seconds(60)), std::future_status::ready)
      << "a read blocked on something that is no regular file";
}

TEST(HostilePath, FileDeletedBetweenCheckAndReadFailsCleanly) {
  test::TempDir dir;
  const std::string path = dir.Write("page.html", "<p>lantern lantern</p>\n");
  const std::string state = dir.Write("tgw.usr", kValidState);
  ASSERT_TRUE(FileExists(path));
  fs::remove(path);
  fs::remove(state);

  Settings settings;
  test::CountingObserver observer;
  Analysis analysis(settings, observer);
  const RunResult result = RunScan(FileLines(path), analysis, observer);
  EXPECT_EQ(result.outcome, RunOutcome::Failed);
  EXPECT_NE(result.error.find("page.html"), std::string::npos) << result.error;
  EXPECT_EQ(analysis.Table().WordCount(), 0);
  EXPECT_EQ(ShowExistingKeywordMetaTag(path), "Error when looking for keywords meta tag.");
  EXPECT_EQ(LoadStateFile(state), std::nullopt);
}

// Removes or empties the page at the first yield, that is after its first line was read.
struct SabotagingObserver : test::CountingObserver {
  std::string path;
  bool truncate = false;
  void OnYield() override {
    if (yields++ > 0) return;
    if (truncate) {
      fs::resize_file(path, 0);
    } else {
      fs::remove(path);
    }
  }
};

TEST(HostilePath, FileRemovedOrEmptiedDuringTheReadEndsInAResult) {
  // More than one read's worth of lines, so that the rest is still to be read.
  const std::string line = "<p>lantern compass</p>\n";
  const std::size_t lines = 100'000;
  for (const bool truncate : {false, true}) {
    test::TempDir dir;
    SabotagingObserver observer;
    observer.path = dir.Write("page.html", test::Repeat(line, lines));
    observer.truncate = truncate;
    Settings settings;
    Analysis analysis(settings, observer);
    ASSERT_EQ(RunScan(FileLines(observer.path), analysis, observer).outcome, RunOutcome::Completed);
    const std::int64_t counted = analysis.Table().Find("lantern").frequency;
    if (truncate) {
      // What was read before the file was emptied still counts; nothing is made up.
      EXPECT_GE(counted, 1);
      EXPECT_LT(counted, static_cast<std::int64_t>(lines));
    } else {
      // A removed file stays readable while it is open: nothing is lost.
      EXPECT_EQ(counted, static_cast<std::int64_t>(lines));
      EXPECT_EQ(analysis.Table().Find("compass").frequency, counted);
    }
  }
}

}  // namespace
}  // namespace tagwright
