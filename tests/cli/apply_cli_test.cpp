#include <sys/stat.h>
#include <sys/wait.h>

#include <gtest/gtest.h>

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <sstream>
#include <streambuf>

#include "cli_fixture.h"
#include "cli_run.h"
#include "file_list.h"
#include "json_output.h"
#include "output/unified_diff.h"
#include "page_file.h"
#include "support/temp_dir.h"
#include "util/text_encoding.h"

namespace tagwright::cli {
namespace {

using test::Cli;
using Result = test::CliResult;

namespace fs = std::filesystem;

const std::string kPage =
    "<html>\r\n<head>\r\n  <title>Cheap Flights</title>\r\n  </head>\r\n"
    "<body><h1>Cheap flights</h1><p>Flights and travel deals, travel deals.</p></body>\r\n";
const std::string kApplied =
    "<html>\r\n<head>\r\n  <title>Cheap Flights</title>\r\n"
    "  <META NAME=\"keywords\" CONTENT=\"flights,cheap,travel,deals\">\r\n  </head>\r\n"
    "<body><h1>Cheap flights</h1><p>Flights and travel deals, travel deals.</p></body>\r\n";

// "2024-05-01 12:30:00.123456789 +0200", as diff -u writes a time.
bool IsDiffTime(std::string_view text) {
  constexpr std::string_view kShape = "0000-00-00 00:00:00.000000000 +0000";
  if (text.size() != kShape.size()) return false;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const bool digit = text[i] >= '0' && text[i] <= '9';
    if (kShape[i] == '0'   ? !digit
        : kShape[i] == '+' ? text[i] != '+' && text[i] != '-'
                           : text[i] != kShape[i]) {
      return false;
    }
  }
  return true;
}

std::size_t FilesIn(const fs::path& folder) {
  return static_cast<std::size_t>(
      std::distance(fs::directory_iterator(folder), fs::directory_iterator()));
}

TEST(ApplyCli, WritesThroughLinksKeepingPermissions) {
  test::TempDir dir;
  const std::string page = dir.Write("page.html", kPage);
  fs::permissions(page, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
  const std::string link = (dir.Path() / "link.htm").string();
  fs::create_symlink("page.html", link);

  const Result r = Cli({"apply", link});
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out, "");
  EXPECT_TRUE(fs::is_symlink(link));
  EXPECT_EQ(test::ReadFile(page), kApplied);
  EXPECT_EQ(fs::status(page).permissions() & fs::perms::all,
            fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
  EXPECT_EQ(FilesIn(dir.Path()), 2u);  // no temporary file left behind
}

TEST(ApplyCli, LongestNamesGetATemporaryFileToo) {
  test::TempDir dir;
  const std::string page = dir.Write(std::string(250, 'n') + ".html", kPage);
  const Result r = Cli({"apply", page});
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(test::ReadFile(page), kApplied);
}

TEST(ApplyCli, DryRunPrintsTheDiffAndBackupKeepsTheOriginal) {
  test::TempDir dir;
  const std::string page = dir.Write("page.html", kPage);
  const Result dry = Cli({"apply", "--dry-run", page});
  EXPECT_EQ(dry.status, 0);
  // The old side's time is the page's; the new side's is the time of the run.
  struct stat info {};
  ASSERT_EQ(::stat(page.c_str(), &info), 0);
  const std::string oldHeader = "--- " + DiffLabel(page, info.st_mtim) + "\n";
  ASSERT_TRUE(dry.out.starts_with(oldHeader)) << dry.out;
  const std::size_t newEnd = dry.out.find('\n', oldHeader.size());
  const std::string newHeader = dry.out.substr(oldHeader.size(), newEnd - oldHeader.size());
  EXPECT_TRUE(newHeader.starts_with("+++ " + page + "\t")) << newHeader;
  EXPECT_TRUE(IsDiffTime(newHeader.substr(newHeader.find('\t') + 1))) << newHeader;
  EXPECT_EQ(dry.out.substr(newEnd + 1),
            "@@ -1,5 +1,6 @@\n <html>\r\n <head>\r\n"
            "   <title>Cheap Flights</title>\r\n"
            "+  <META NAME=\"keywords\" CONTENT=\"flights,cheap,travel,deals\">\r\n"
            "   </head>\r\n <body><h1>Cheap flights</h1><p>Flights and travel "
            "deals, travel deals.</p></body>\r\n");
  EXPECT_EQ(test::ReadFile(page), kPage);
  EXPECT_EQ(FilesIn(dir.Path()), 1u);

  EXPECT_EQ(Cli({"apply", "--backup", page}).status, 0);
  EXPECT_EQ(test::ReadFile(page + "~"), kPage);
  EXPECT_EQ(test::ReadFile(page), kApplied);
  dir.Write("page.html", kPage);
  EXPECT_EQ(Cli({"apply", "--backup=.orig", page}).status, 0);
  EXPECT_EQ(test::ReadFile(page + ".orig"), kPage);
}

TEST(ApplyCli, SecondRunWithoutExistingWeightChangesNothing) {
  test::TempDir dir;
  const std::string pages[] = {
      dir.Write("a.html", kPage),
      dir.Write("b.htm",
                "<head><title>Sea kayak tours \xa9</title><meta name=\"keywords\" "
                "content=\"boats, boats, boats\"></head><p>Kayak tours, sea tours.</p>"),
      dir.Write("c.htm", "<HEAD>\r<TITLE>Mountain huts</TITLE>\r</HEAD>\r<B>huts</B> mountain"),
  };
  const std::vector<std::string> args = {
      "apply", "--existing-weight", "0", "--begin-with", "Caf\xc3\xa9", "-r", dir.Path().string()};
  EXPECT_EQ(Cli(args).status, 0);
  std::vector<std::string> once;
  for (const std::string& page : pages) once.push_back(test::ReadFile(page));
  // A Windows-1252 page gets the phrase in Windows-1252.
  EXPECT_NE(once[1].find("CONTENT=\"caf\xe9,tours,kayak\">"), std::string::npos) << once[1];
  EXPECT_EQ(Cli(args).status, 0);
  for (std::size_t i = 0; i < once.size(); ++i) EXPECT_EQ(test::ReadFile(pages[i]), once[i]);
}

TEST(ApplyCli, PageWithoutHeadEndIsLeftAlone) {
  test::TempDir dir;
  const std::string bare = dir.Write("bare.htm", "<p>Flights, flights.</p>");
  const std::string page = dir.Write("page.htm", kPage);
  const Result r = Cli({"apply", bare, page});
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.err,
            "tagwright-cli: " + bare +
                ": the page has no head for the tag; it is left alone.\n"
                "tagwright-cli: 2 pages: 1 changed, 0 unchanged, 1 left alone (1 no head)\n");
  EXPECT_EQ(test::ReadFile(bare), "<p>Flights, flights.</p>");
  EXPECT_EQ(test::ReadFile(page), kApplied);
  // The tag would push the declared charset out of the first 1024 bytes.
  const std::string crowded =
      "<head><meta name=\"keywords\" content=\"a\"><!--" + std::string(950, 'x') +
      "--><meta charset=\"iso-8859-2\"></head><p>Flights, flights, tours, tours.</p>";
  const std::string full = dir.Write("full.htm", crowded);
  const Result crowd = Cli({"apply", full});
  EXPECT_EQ(crowd.status, 1);
  EXPECT_EQ(crowd.err, "tagwright-cli: " + full +
                           ": writing the tag would change the charset that the page declares; "
                           "it is left alone.\n");
  EXPECT_EQ(test::ReadFile(full), crowded);
}

TEST(ApplyCli, ATagWithoutKeywordIsNeverWritten) {
  test::TempDir dir;
  const std::string page = dir.Write("page.htm", kPage);
  const Result r = Cli({"apply", "--max-bytes", "20", page});
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.err, "tagwright-cli: " + page +
                       ": the limits leave no room for a keyword in the tag; the page is left "
                       "alone.\n");
  EXPECT_EQ(test::ReadFile(page), kPage);
}

TEST(ApplyCli, SeveralTagsAreReportedAndKeepExistingKeepsTheirSpelling) {
  test::TempDir dir;
  const std::string head =
      "<html><head><title>Cheap Flights</title>\n"
      "<meta name=\"keywords\" content=\"Cheap Tickets,  Trips &amp; Tours,\">\n";
  const std::string rest =
      "<meta name=keywords content=second>\n</head>\n"
      "<body><h1>Cheap flights</h1><p>Flights and travel deals, travel deals.</p></body>\n";
  const std::string page = dir.Write("page.htm", head + rest);
  const Result r = Cli({"apply", "--existing-weight", "0", "--keep-existing", page});
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.err, "tagwright-cli: " + page +
                       ": note: the head has 2 keywords meta tags; only the first is replaced.\n");
  // The page's keywords first, as spelt; "cheap" is among them already.
  EXPECT_EQ(test::ReadFile(page),
            "<html><head><title>Cheap Flights</title>\n"
            "<META NAME=\"keywords\" CONTENT=\"Cheap Tickets,Trips & Tours,flights,travel,"
            "deals\">\n" +
                rest);
  EXPECT_EQ(Cli({"generate", "--keep-existing", page}).status, 2);
}

TEST(ExistingCli, TheModernReadingShowsTheTagApplyWouldReplace) {
  test::TempDir dir;
  const std::string page =
      dir.Write("page.htm",
                "<head>\n<meta name=\"description\" content=\"keywords\">\n"
                "<META NAME=Keywords\n CONTENT=\"Cheap, Flights\">\n</head><p>x</p>");
  EXPECT_EQ(Cli({"existing", "--modern", page}).out,
            "Existing keyword meta tag:\n<META NAME=Keywords\n CONTENT=\"Cheap, Flights\">\n");
  // The default reading keeps its line search: the description's line comes first.
  EXPECT_EQ(Cli({"existing", page}).out,
            "Existing keyword meta tag:\n<meta name=\"description\" content=\"keywords\">\n");
}

TEST(ApplyCli, MaxBytesCountsTheTagAsWrittenInThePagesCharset) {
  test::TempDir dir;
  // Windows-1251: "flights" and "travel" in Russian, each letter one byte as written.
  const std::string flights = "\xd0\xe5\xe9\xf1\xfb";
  const std::string travel = "\xcf\xf3\xf2\xe5\xf8\xe5\xf1\xf2\xe2\xe8\xff";
  std::string body;
  for (int i = 0; i < 20; ++i) body += flights + " " + flights + " " + travel + ". ";
  const std::string original =
      "<html><head><meta charset=\"windows-1251\"></head>\n<body><p>" + body + "</p></body>\n";
  const std::string page = dir.Write("page.htm", original);
  // 31 + 5 + 1 + 11 = 48 bytes as written; in UTF-8 the words would take 32 bytes.
  const Result r = Cli({"apply", "--modern", "--max-bytes", "48", page});
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(test::ReadFile(page),
            std::string(
                "<html><head><meta charset=\"windows-1251\">\n<META NAME=\"keywords\" CONTENT=\"") +
                "\xf0\xe5\xe9\xf1\xfb,\xef\xf3\xf2\xe5\xf8\xe5\xf1\xf2\xe2\xe8\xff" +
                "\">\n</head>\n<body><p>" + body + "</p></body>\n");
}

TEST(ApplyCli, PageChangedSinceReadingIsNotOverwritten) {
  test::TempDir dir;
  const std::string page = dir.Write("page.htm", kPage);
  PageFile read;
  PageProblem problem;
  ASSERT_TRUE(ReadPageFile(page, read, problem)) << problem.message;
  dir.Write("page.htm", kPage + "<p>edited</p>");
  EXPECT_FALSE(ReplacePageFile(page, read, kApplied, {"~", false}, problem));
  EXPECT_EQ(problem.message, "the page changed on disk while it was processed; it is left alone.");
  EXPECT_EQ(test::ReadFile(page), kPage + "<p>edited</p>");
  EXPECT_EQ(FilesIn(dir.Path()), 1u);  // neither a backup nor a temporary file
}

TEST(ApplyCli, StandardInputGivesThePageOnStandardOutput) {
  std::ostringstream out, err;
  std::istringstream in(kPage);
  EXPECT_EQ(RunCli({"apply", "-"}, out, err, in), 0);
  EXPECT_EQ(out.str(), kApplied);
}

TEST(FolderSearch, SortedPagesWithoutFollowingLinks) {
  test::TempDir dir;
  const fs::path& root = dir.Path();
  fs::create_directories(root / "sub" / "deeper");
  fs::create_directories(root / "folder.html");
  dir.Write("b.htm", "");
  dir.Write("A.HTML", "");
  dir.Write("notes.txt", "");
  dir.Write("sub/z.Htm", "");
  dir.Write("sub/deeper/y.html", "");
  dir.Write("folder.html/inside.htm", "");
  fs::create_directory_symlink(root, root / "sub" / "loop");
  fs::create_directory_symlink(root / "sub", root / "sub.html");
  fs::create_symlink(root / "b.htm", root / "c.html");
  ASSERT_EQ(::mkfifo((root / "fifo.html").c_str(), 0600), 0);

  std::vector<InputItem> items = ListInputs({root.string(), "-"}, {.recursive = true});
  ASSERT_FALSE(items.empty());
  EXPECT_EQ(items.back().path, "-");
  items.pop_back();
  std::vector<std::string> paths;
  for (const InputItem& item : items) {
    EXPECT_EQ(item.error, "") << item.path;
    paths.push_back(fs::path(item.path).lexically_relative(root).string());
  }
  EXPECT_EQ(paths, (std::vector<std::string>{"A.HTML", "b.htm", "folder.html/inside.htm",
                                             "sub/deeper/y.html", "sub/z.Htm"}));
}

TEST(ParallelJobs, OutputIsTheSameAsWithOneJob) {
  test::TempDir dir;
  std::vector<std::string> args = {"list", "--format", "json"};
  for (int i = 0; i < 40; ++i) {
    std::string page = "<head><title>Page " + std::to_string(i) + "</title></head>";
    for (int k = 0; k <= i; ++k) page += " word" + std::string(1, static_cast<char>('a' + k % 26));
    args.push_back(dir.Write("p" + std::to_string(100 + i) + ".htm", page + " wordz wordz"));
    if (i == 20) args.push_back((dir.Path() / "missing.htm").string());
  }
  for (const char* command : {"list", "generate", "existing"}) {
    args[0] = command;
    std::vector<std::string> one = args;
    one.emplace_back("-j1");
    std::vector<std::string> two = args;
    two.emplace_back("--jobs=2");
    const Result a = Cli(one);
    const Result b = Cli(two);
    EXPECT_EQ(a.status, 1);
    EXPECT_EQ(b.status, 1);
    EXPECT_EQ(a.out, b.out) << command;
    EXPECT_EQ(a.err, b.err) << command;
    EXPECT_GT(a.out.size(), 2000u);
  }
}

TEST(CliOutput, JsonIsValidForNamesThatAreNotUtf8) {
  test::TempDir dir;
  const std::string page =
      dir.Write("caf\xe9.htm", "<head><meta name=\"keywords\" content=\"a\"></head>");
  const Result r = Cli({"existing", "--format", "json", page});
  EXPECT_TRUE(IsValidUtf8(r.out));
  EXPECT_EQ(r.out, "{\"file\":\"" + dir.Path().string() +
                       "/caf\xef\xbf\xbd.htm\",\"file_base64\":\"" + Base64(page) +
                       "\",\"found\":true,\"tag\":\"<meta name=\\\"keywords\\\" "
                       "content=\\\"a\\\">\"}\n");
}

// A stream that fails every write as a full disk does.
class FullDisk : public std::streambuf {
 protected:
  int_type overflow(int_type) override {
    errno = ENOSPC;
    return traits_type::eof();
  }
  std::streamsize xsputn(const char*, std::streamsize) override {
    errno = ENOSPC;
    return 0;
  }
};

TEST(CliOutput, WriteFailureGivesStatus1) {
  test::TempDir dir;
  const std::string page = dir.Write("page.htm", kPage);
  FullDisk full;
  std::ostream out(&full);
  std::ostringstream err;
  EXPECT_EQ(RunCli({"list", page, page}, out, err), 1);
  EXPECT_EQ(err.str(), "tagwright-cli: cannot write the output: No space left on device\n");
}

TEST(CliOutput, FullDiskIsAnErrorAndAClosedPipeIsQuiet) {
  test::TempDir dir;
  std::string page = "<head></head>";
  for (int i = 0; i < 20000; ++i) page += " word" + std::to_string(i) + " word" + std::to_string(i);
  const std::string path = dir.Write("page.htm", page);
  const std::string errors = (dir.Path() / "errors.txt").string();
  const std::string cli =
      std::string("'") + TAGWRIGHT_CLI + "' list --min-frequency 1 '" + path + "'";

  const int full = std::system((cli + " >/dev/full 2>'" + errors + "'").c_str());
  ASSERT_TRUE(WIFEXITED(full));
  EXPECT_EQ(WEXITSTATUS(full), 1);
  EXPECT_EQ(test::ReadFile(errors),
            "tagwright-cli: cannot write the output: No space left on device\n");

  // The pipeline's status is that of head; what counts is that nothing was said.
  const int piped =
      std::system(("bash -c \"" + cli + " 2>'" + errors + "' | head -c 10 >/dev/null\"").c_str());
  EXPECT_EQ(piped, 0);
  EXPECT_EQ(test::ReadFile(errors), "");
}

}  // namespace
}  // namespace tagwright::cli
