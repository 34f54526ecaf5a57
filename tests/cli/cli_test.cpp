#include "cli_fixture.h"
#include "cli_run.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

#include "cli_options.h"
#include "support/temp_dir.h"

namespace tagwright::cli {
namespace {

using test::Cli;
using Result = test::CliResult;

// A path as the report's data holds it: a JSON string.
std::string ScriptPath(const std::string& path) { return "[\"" + path + "\","; }

const char* kPage =
    "<html><head><title>Cheap Flights</title>\r\n"
    "<meta name=\"keywords\" content=\"flights, travel\">\r\n"
    "</head><body><h1>Cheap flights</h1>\r\n"
    "<p>Flights and travel deals, travel deals.</p></body></html>\r\n";

// Weights: flights 51 (title) + 7 (keywords tag) + 9 (h1) + 3 = 70; cheap 51 + 9 = 60;
// travel 7 + 3 + 3 = 13; deals 3 + 3 = 6.
TEST(Cli, ListPrintsTheReportWithNewlines) {
  test::TempDir dir;
  const Result r = Cli({"list", dir.Write("page.htm", kPage)});
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.err, "");
  EXPECT_EQ(r.out,
            "Rank Value Frequency\n"
            "   1   100    4 flights\n"
            "   2    86    2 cheap\n"
            "   3    19    3 travel\n"
            "   4     9    2 deals\n"
            "\n");
}

TEST(Cli, GenerateWithOptionsAndPhrases) {
  test::TempDir dir;
  const std::string page = dir.Write("page.htm", kPage);
  const Result r = Cli({"generate", "--max-keywords", "5", "--begin-with", "Air Travel, ",
                        "--min-frequency=1", page});
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.out,
            "<META NAME=\"keywords\" CONTENT=\"air travel,flights,cheap,deals\">\n\n"
            "Number of keywords in meta tag: 4\n"
            "Number of bytes in meta tag: 61\n");
}

TEST(Cli, SeveralFilesGetHeadersAndJsonGetsOneObjectEach) {
  test::TempDir dir;
  const std::string a = dir.Write("a.htm", kPage);
  const std::string b = dir.Write("b.html", "<p>nothing here</p>");
  const Result r = Cli({"existing", a, b});
  EXPECT_EQ(r.out, "==> " + a +
                       " <==\nExisting keyword meta tag:\n"
                       "<meta name=\"keywords\" content=\"flights, travel\">\n"
                       "==> " +
                       b + " <==\nNo keyword meta tag found.\n");
  const Result j = Cli({"generate", "--format", "json", a, b});
  EXPECT_EQ(j.out,
            "{\"file\":\"" + a +
                "\",\"tag\":\"<META NAME=\\\"keywords\\\" "
                "CONTENT=\\\"flights,cheap,travel,deals\\\">\",\"keywords\":4,\"bytes\":57}\n"
                "{\"file\":\"" +
                b +
                "\",\"message\":\"No words with more than 3 letters occur "
                "at least twice.\"}\n");
  const Result l = Cli({"list", "--format=json", "--min-frequency", "3", a});
  EXPECT_EQ(l.out, "{\"file\":\"" + a +
                       "\",\"words\":[{\"rank\":1,\"word\":\"flights\","
                       "\"value\":100,\"frequency\":4},{\"rank\":2,\"word\":\"travel\",\"value\":"
                       "18.571428,\"frequency\":3}]}\n");
}

TEST(Cli, OptionMistakesGiveStatus2AndWriteNothing) {
  test::TempDir dir;
  const std::string page = dir.Write("page.htm", kPage);
  const std::vector<std::pair<std::vector<std::string>, std::string>> cases = {
      {{"list"}, "No input file given (see --help)."},
      {{"list", "--short-size", "0", page},
       "The short-word size (--short-size) must be a whole number from 1 to 9."},
      {{"list", "--table-weight", "x", page},
       "The table weight (--table-weight) must be a whole number from 0 to 9."},
      {{"list", "--format=xml", page}, "The format (--format) must be text or json."},
      {{"list", "-j", "0", page},
       "The number of jobs (-j, --jobs) must be a whole number from 1 to 256."},
      {{"list", "-rj", page, "x"},
       "The number of jobs (-j, --jobs) must be a whole number from 1 to 256."},
      {{"list", page, "-j"}, "The option -j needs a value (see --help)."},
      {{"list", page, "--jobs"}, "The option --jobs needs a value (see --help)."},
      {{"count", page},
       "Unknown command \"count\": use list, generate, existing, apply or report (see --help)."},
      {{"list", "-o", "out.html", page}, "-o/--output goes with report only."},
      {{"report", "--format", "json", page},
       "report writes HTML; --format json goes with the other commands."},
      {{"report", page, "-o"}, "The option -o needs a value (see --help)."},
      {{"report", page, "--output="}, "The output file must be named."},
      // An unknown option is a mistake about itself alone: the next argument is not taken.
      {{"list", "--bogus", page}, "Unknown option --bogus (see --help)."},
      {{"list", "-x", page}, "Unknown option -x (see --help)."},
      {{"list", "--modern=yes", page}, "The option --modern takes no value (see --help)."},
      {{"list", "--dry-run", page},
       "--dry-run, --backup, --break-hard-links and --keep-existing go with apply only."},
      {{"generate", "--break-hard-links", page},
       "--dry-run, --backup, --break-hard-links and --keep-existing go with apply only."},
      {{"apply", "--backup=", page}, "The backup suffix must be a non-empty text without \"/\"."},
  };
  for (const auto& [args, message] : cases) {
    const Result r = Cli(args);
    EXPECT_EQ(r.status, 2) << message;
    EXPECT_EQ(r.err, "tagwright-cli: " + message + "\n");
    EXPECT_EQ(r.out, "") << message;
  }
}

TEST(Cli, AProblemWithOneFileLeavesTheOthersAndGivesStatus1) {
  test::TempDir dir;
  const std::string page = dir.Write("page.htm", kPage);
  const std::string text = dir.Write("page.txt", kPage);
  const std::string gone = (dir.Path() / "gone.htm").string();
  const std::string folder = (dir.Path() / "folder.html").string();
  std::filesystem::create_directory(folder);
  const std::string badForm = dir.Path().string() + "/my.dir/page";
  const Result r = Cli({"existing", gone, page, text, folder, badForm, ""});
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.out, "==> " + page +
                       " <==\nExisting keyword meta tag:\n"
                       "<meta name=\"keywords\" content=\"flights, travel\">\n");
  EXPECT_EQ(r.err,
            "tagwright-cli: " + gone + ": Input file not found.\n" + "tagwright-cli: " + text +
                ": Input file must have .htm or .html extension.\n" + "tagwright-cli: " + folder +
                ": is a folder (use -r to search it)\n" + "tagwright-cli: " + badForm +
                ": Input file not found.\n" + "tagwright-cli: : Input file not specified.\n");
}

TEST(Cli, HelpVersionDoubleDashAndStandardInput) {
  const Result help = Cli({"-h"});
  EXPECT_EQ(help.status, 0);
  for (const char* option :
       {"apply FILE", "--recursive", "--jobs N", "--modern", "--dry-run", "--backup[=SUFFIX]",
        "-L, --follow", "--break-hard-links", "Exit status"}) {
    EXPECT_NE(help.out.find(option), std::string::npos) << option;
  }
  EXPECT_EQ(Cli({"list", "--help", "--no-short"}).out, help.out);
  EXPECT_EQ(Cli({"--version"}).out, "tagwright-cli 1.0\n");

  test::TempDir dir;
  const std::string page = dir.Write("-odd.htm", kPage);
  const std::filesystem::path before = std::filesystem::current_path();
  std::filesystem::current_path(dir.Path());
  const Result dashed = Cli({"generate", "--", "-odd.htm"});
  std::filesystem::current_path(before);
  EXPECT_EQ(dashed.status, 0) << dashed.err;

  std::ostringstream out, err;
  std::istringstream in(kPage);
  EXPECT_EQ(RunCli({"generate", "-"}, out, err, in), 0);
  EXPECT_EQ(out.str(), dashed.out);
}

TEST(Cli, ModernReadingIsAnOption) {
  CliOptions options;
  std::string error;
  ASSERT_TRUE(ParseCliOptions({"list", "x.htm"}, options, error));
  EXPECT_FALSE(options.settings.modernMarkup);
  ASSERT_TRUE(ParseCliOptions({"--modern", "list", "-rj3", "x.htm"}, options, error)) << error;
  EXPECT_TRUE(options.settings.modernMarkup);
  EXPECT_TRUE(options.recursive);
  EXPECT_EQ(options.jobs, 3);
  EXPECT_FALSE(options.follow);
  EXPECT_FALSE(options.breakHardLinks);
  ASSERT_TRUE(ParseCliOptions({"apply", "-rLj2", "--break-hard-links", "x.htm"}, options, error))
      << error;
  EXPECT_TRUE(options.follow);
  EXPECT_TRUE(options.recursive);
  EXPECT_TRUE(options.breakHardLinks);
  ASSERT_TRUE(ParseCliOptions({"list", "--follow", "-r", "x.htm"}, options, error)) << error;
  EXPECT_TRUE(options.follow);
}

// Each limit takes a whole number in its range or "none"; anything else is an option mistake
// that names the option and what it takes.
TEST(Cli, LimitsTakeAWholeNumberInTheirRangeOrNone) {
  test::TempDir dir;
  const std::string page = dir.Write("page.htm", kPage);
  const std::string keywords =
      "The maximum number of keywords (--max-keywords) must be a whole number from 5 to 100, "
      "or none.";
  const std::string bytes =
      "The maximum number of bytes (--max-bytes) must be a whole number from 1 to 1000, or none.";
  const std::vector<std::pair<std::vector<std::string>, std::string>> mistakes = {
      {{"--max-keywords", "abc"}, keywords}, {{"--max-keywords", "1e2"}, keywords},
      {{"--max-keywords", "5x0"}, keywords}, {{"--max-keywords", "4"}, keywords},
      {{"--max-keywords", "101"}, keywords}, {{"--max-keywords", ""}, keywords},
      {{"--max-keywords", "1.5"}, keywords}, {{"--max-keywords", " 50"}, keywords},
      {{"--max-keywords=None"}, keywords},   {{"--max-bytes", "0"}, bytes},
      {{"--max-bytes=-5"}, bytes},           {{"--max-bytes", "1001"}, bytes},
      {{"--max-bytes", "+5"}, bytes},
  };
  for (const auto& [limit, message] : mistakes) {
    std::vector<std::string> args = {"generate", page};
    args.insert(args.begin() + 1, limit.begin(), limit.end());
    const Result r = Cli(args);
    EXPECT_EQ(r.status, 2) << limit.back();
    EXPECT_EQ(r.err, "tagwright-cli: " + message + "\n") << limit.back();
    EXPECT_EQ(r.out, "") << limit.back();
  }

  const Result bounded = Cli({"generate", "--max-bytes", "40", page});
  EXPECT_EQ(bounded.out,
            "<META NAME=\"keywords\" CONTENT=\"flights\">\n\n"
            "Number of keywords in meta tag: 1\nNumber of bytes in meta tag: 38\n");
  // The ends of each range are accepted; "none" lifts the limit.
  EXPECT_EQ(Cli({"generate", "--max-keywords=5", "--max-bytes", "1000", page}).status, 0);
  const Result unbounded = Cli({"generate", "--max-bytes", "none", "--max-keywords=none", page});
  EXPECT_EQ(unbounded.status, 0) << unbounded.err;
  EXPECT_EQ(unbounded.out,
            "<META NAME=\"keywords\" CONTENT=\"flights,cheap,travel,deals\">\n\n"
            "Number of keywords in meta tag: 4\nNumber of bytes in meta tag: 57\n");
  CliOptions options;
  std::string error;
  ASSERT_TRUE(ParseCliOptions({"list", "--max-keywords", "none", "--max-bytes=100", "x.htm"},
                              options, error))
      << error;
  EXPECT_EQ(options.request.maxKeywordsText, "");
  EXPECT_EQ(options.request.maxBytesText, "100");
}

TEST(Cli, ReportWritesOneHtmlPageToAFileOrStandardOutput) {
  test::TempDir dir;
  std::filesystem::create_directory(dir.Path() / "site");
  const std::string page = dir.Write("site/page.htm", kPage);
  dir.Write("site/other.html", "<title>Cheap Flights</title><p>boats boats</p>");
  const std::string site = (dir.Path() / "site").string();
  const std::string file = (dir.Path() / "out" / "report.html").string();
  std::filesystem::create_directory(dir.Path() / "out");

  const Result written = Cli({"report", "-r", site, "-o", file, "-j", "2"});
  EXPECT_EQ(written.status, 0) << written.err;
  EXPECT_EQ(written.out, "");
  const std::string html = test::ReadFile(file);
  EXPECT_EQ(html.rfind("<!DOCTYPE html>", 0), 0u);
  EXPECT_NE(html.find("id=\"count-pages\">2<"), std::string::npos);
  EXPECT_NE(html.find("id=\"count-duptitle\">2<"), std::string::npos);
  // The pages are linked from the report's folder, in argument order (sorted with -r).
  EXPECT_NE(html.find("\"../site/other.html\""), std::string::npos);
  EXPECT_LT(html.find(ScriptPath(site + "/other.html")), html.find(ScriptPath(page)));
  // Nothing is left beside the report.
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Path() / "out"),
                          std::filesystem::directory_iterator{}),
            1);

  // The same report on standard output, where the links start from the current folder.
  const Result printed = Cli({"report", "-r", site});
  EXPECT_EQ(printed.status, 0);
  EXPECT_NE(printed.out.find("id=\"count-pages\">2<"), std::string::npos);
}

TEST(Cli, ReportGoesOnPastAPageItCannotReadAndSaysSo) {
  test::TempDir dir;
  const std::string page = dir.Write("page.htm", kPage);
  const std::string gone = (dir.Path() / "gone.htm").string();
  const Result r = Cli({"report", gone, page});
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.err, "tagwright-cli: " + gone + ": Input file not found.\n");
  EXPECT_NE(r.out.find("id=\"count-pages\">1<"), std::string::npos);

  const Result unwritable =
      Cli({"report", page, "-o", (dir.Path() / "no-such-folder" / "r.html").string()});
  EXPECT_EQ(unwritable.status, 1);
  EXPECT_NE(unwritable.err.find("cannot create a temporary file"), std::string::npos);
}

}  // namespace
}  // namespace tagwright::cli
