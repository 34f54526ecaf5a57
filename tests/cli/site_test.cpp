#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "cli_fixture.h"
#include "support/temp_dir.h"

namespace tagwright::cli {
namespace {

// Runs the command line `args` (an empty one left out) on `files`.
test::CliResult Cli(std::vector<std::string> args, const std::vector<std::string>& files) {
  std::erase(args, "");
  args.insert(args.end(), files.begin(), files.end());
  return test::Cli(args);
}

const char* const kTopics[] = {"alpha", "bravo", "charlie", "delta", "foxtrot", "hotel", "kilo"};

// `count` pages of one site: each has its own topic and the site's navigation word
// "gazette"; page `titled` names the site in its title and h1 as well.
std::vector<std::string> Site(test::TempDir& dir, std::size_t count, std::size_t titled) {
  std::vector<std::string> files;
  for (std::size_t i = 0; i < count; ++i) {
    const std::string topic = kTopics[i];
    const std::string head = i == titled ? "Gazettes" : topic;
    files.push_back(dir.Write(topic + ".html",
                              "<html><head><title>" + head + "</title></head><body><h1>" + head +
                                  "</h1>\n<div>Gazette gazette gazette</div>\n"
                                  "<p>" +
                                  topic + " " + topic + " " + topic + "</p></body></html>\n"));
  }
  return files;
}

TEST(Site, ANavigationWordLeavesEveryPageButTheOneWithItInTheTitle) {
  for (const std::string reading : {"", "--modern"}) {
    SCOPED_TRACE(reading);
    test::TempDir dir;
    const std::vector<std::string> files = Site(dir, 6, 2);
    const test::CliResult plain = Cli({"list", reading}, files);
    const test::CliResult site = Cli({"list", "--site", "-j", "1", reading}, files);
    ASSERT_EQ(site.status, 0);
    EXPECT_EQ(site.err,
              "tagwright-cli: site of 6 pages: its furniture, dropped from the rankings except "
              "under a title or h1: gazette\n");
    // Without --site every page ranks it; with it, only the titled page (as "gazettes" there).
    std::size_t without = 0;
    std::size_t with = 0;
    for (std::size_t at = 0; (at = plain.out.find(" gazette", at)) != std::string::npos; ++at) {
      ++without;
    }
    for (std::size_t at = 0; (at = site.out.find(" gazette", at)) != std::string::npos; ++at) {
      ++with;
    }
    EXPECT_EQ(without, 6u);
    EXPECT_EQ(with, 1u);
    EXPECT_NE(site.out.find("charlie"), std::string::npos);
    // The order of the output and the words dropped do not depend on the workers.
    const test::CliResult two = Cli({"list", "--site", "-j", "2", reading}, files);
    EXPECT_EQ(two.out, site.out);
    EXPECT_EQ(two.err, site.err);
  }
}

TEST(Site, FewerThanFivePagesHaveNoFurniture) {
  test::TempDir dir;
  const std::vector<std::string> files = Site(dir, 4, 9);
  const test::CliResult site = Cli({"generate", "--site"}, files);
  EXPECT_EQ(site.out, Cli({"generate"}, files).out);
  EXPECT_EQ(site.err,
            "tagwright-cli: site of 4 pages: no word stands on more than half of them (and at "
            "least 5); none is dropped.\n");
}

TEST(Site, JsonEndsWithTheFurnitureAndApplyLeavesItOut) {
  test::TempDir dir;
  const std::vector<std::string> files = Site(dir, 7, 0);
  const test::CliResult json = Cli({"generate", "--site", "--format", "json"}, files);
  EXPECT_EQ(json.err, "");
  EXPECT_TRUE(json.out.ends_with("\n{\"site_furniture\":[\"gazette\"],\"pages\":7}\n"));
  // Only the first page, which names the site in its title, keeps it.
  EXPECT_EQ(json.out.find("gazette,"), json.out.rfind("gazette,"));
  EXPECT_NE(json.out.find("gazette,alpha"), std::string::npos);
  const test::CliResult apply = Cli({"apply", "--site", "--dry-run"}, files);
  EXPECT_EQ(apply.status, 0);
  EXPECT_NE(apply.out.find("CONTENT=\"gazette,alpha\""), std::string::npos);
  EXPECT_NE(apply.out.find("CONTENT=\"bravo\""), std::string::npos);
  EXPECT_EQ(Cli({"existing", "--site"}, files).status, 2);
}

TEST(Site, TheReportRanksThePagesWithoutTheFurniture) {
  test::TempDir dir;
  const std::vector<std::string> files = Site(dir, 6, 0);
  const std::string best = "gazette: among the ten best words of ";
  EXPECT_NE(Cli({"report"}, files).out.find(best + "6 of 6 pages"), std::string::npos);
  const test::CliResult site = Cli({"report", "--site"}, files);
  EXPECT_NE(site.out.find(best + "1 of 6 pages"), std::string::npos);
  EXPECT_NE(site.err.find("under a title or h1: gazette\n"), std::string::npos);
}

}  // namespace
}  // namespace tagwright::cli
