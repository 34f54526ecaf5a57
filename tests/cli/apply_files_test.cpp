// What apply does to files: which names are pages, backups, owner, rights and links, files
// reached twice, interrupts, long paths, wide Unicode pages, standard input, the summary.
#include <acl/libacl.h>
#include <dirent.h>
#include <fcntl.h>
#include <spawn.h>
#include <sys/acl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cerrno>
#include <chrono>
#include <climits>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <memory>
#include <sstream>
#include <thread>

#include "cli_run.h"
#include "file_list.h"
#include "support/temp_dir.h"

namespace tagwright::cli {
namespace {

namespace fs = std::filesystem;

const std::string kPage =
    "<html>\n<head>\n  <title>Cheap Flights</title>\n  </head>\n"
    "<body><h1>Cheap flights</h1><p>Flights and travel deals, travel deals.</p></body>\n";
const std::string kApplied =
    "<html>\n<head>\n  <title>Cheap Flights</title>\n"
    "  <META NAME=\"keywords\" CONTENT=\"flights,cheap,travel,deals\">\n  </head>\n"
    "<body><h1>Cheap flights</h1><p>Flights and travel deals, travel deals.</p></body>\n";
const std::string kPrefix = "tagwright-cli: ";

struct Result {
  int status;
  std::string out;
  std::string err;
};

Result Cli(const std::vector<std::string>& args, const std::string& input = "",
           bool terminal = false) {
  std::ostringstream out, err;
  std::istringstream in(input);
  const int status = RunCli(args, out, err, in, terminal);
  return {status, out.str(), err.str()};
}

// Starts `argv` (found on PATH) with standard output and error going to the files named.
pid_t Start(const std::vector<std::string>& argv, const std::string& outFile,
            const std::string& errFile, const std::string& inFile = "/dev/null") {
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 0, inFile.c_str(), O_RDONLY, 0);
  posix_spawn_file_actions_addopen(&actions, 1, outFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                   0600);
  posix_spawn_file_actions_addopen(&actions, 2, errFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                   0600);
  // The child takes the signals in the default way, whatever this process inherited.
  posix_spawnattr_t attributes;
  posix_spawnattr_init(&attributes);
  sigset_t signals;
  sigemptyset(&signals);
  posix_spawnattr_setsigmask(&attributes, &signals);
  for (const int signal : {SIGINT, SIGTERM, SIGHUP, SIGPIPE}) sigaddset(&signals, signal);
  posix_spawnattr_setsigdefault(&attributes, &signals);
  posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF);
  std::vector<char*> args;
  args.reserve(argv.size() + 1);
  for (const std::string& arg : argv) args.push_back(const_cast<char*>(arg.c_str()));
  args.push_back(nullptr);
  pid_t pid = -1;
  const int failed = ::posix_spawnp(&pid, args[0], &actions, &attributes, args.data(), environ);
  posix_spawnattr_destroy(&attributes);
  posix_spawn_file_actions_destroy(&actions);
  return failed == 0 ? pid : -1;
}

// The exit status of a finished process; 1000 + the signal when a signal ended it.
int Wait(pid_t pid) {
  int status = 0;
  while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
  }
  return WIFEXITED(status) ? WEXITSTATUS(status) : 1000 + WTERMSIG(status);
}

// Runs `argv` to its end with `input` on standard input.
Result Program(const std::vector<std::string>& argv, const std::string& input = "") {
  test::TempDir io;
  const std::string in = io.Write("in", input);
  const std::string out = (io.Path() / "out").string();
  const std::string err = (io.Path() / "err").string();
  const pid_t pid = Start(argv, out, err, in);
  if (pid < 0) return {-1, "", "cannot start " + argv[0]};
  const int status = Wait(pid);
  return {status, test::ReadFile(out), test::ReadFile(err)};
}

// The user and groups that the tests run the program as when they run as root: nobody, in
// its own group and in kMemberGroup but not in kOtherGroup.
constexpr uid_t kUser = 65534;
constexpr gid_t kUserGroup = 65534;
constexpr gid_t kMemberGroup = 4242;
constexpr gid_t kOtherGroup = 4243;
constexpr uid_t kOtherUser = 4244;

bool IsRoot() { return ::geteuid() == 0; }

// The program run as kUser, with `args`.
std::vector<std::string> AsUser(const std::vector<std::string>& args) {
  std::vector<std::string> argv = {"setpriv",
                                   "--reuid=" + std::to_string(kUser),
                                   "--regid=" + std::to_string(kUserGroup),
                                   "--groups=" + std::to_string(kMemberGroup),
                                   "--",
                                   TAGWRIGHT_CLI};
  argv.insert(argv.end(), args.begin(), args.end());
  return argv;
}

std::vector<std::string> Leftovers(const fs::path& folder) {
  std::vector<std::string> found;
  for (const auto& entry : fs::recursive_directory_iterator(folder)) {
    if (entry.path().filename().string().find(".tagwright-") != std::string::npos) {
      found.push_back(entry.path().string());
    }
  }
  return found;
}

struct stat Stat(const std::string& path) {
  struct stat info {};
  ::lstat(path.c_str(), &info);
  return info;
}

std::string AclText(const std::string& path) {
  const std::unique_ptr<void, int (*)(void*)> acl(::acl_get_file(path.c_str(), ACL_TYPE_ACCESS),
                                                  &acl_free);
  if (!acl) return std::string("no ACL: ") + std::strerror(errno);
  const std::unique_ptr<char, int (*)(void*)> text(
      ::acl_to_any_text(static_cast<acl_t>(acl.get()), nullptr, ',', 0), &acl_free);
  return text ? text.get() : "";
}

bool SetAcl(const std::string& path, const char* text, acl_type_t type = ACL_TYPE_ACCESS) {
  const std::unique_ptr<void, int (*)(void*)> acl(::acl_from_text(text), &acl_free);
  return acl && ::acl_set_file(path.c_str(), type, static_cast<acl_t>(acl.get())) == 0;
}

TEST(ApplyFiles, OnlyPageNamesAreRewritten) {
  const struct {
    const char* name;
    bool page;
  } cases[] = {
      {"a.htm", true},          {"b.HTML", true},           {"c.shtml", true},
      {"d.XHTML", true},        {"page.html~", false},      {"page.html.orig", false},
      {"page.html.~1~", false}, {"page.phtml", false},      {"page.htm.bak", false},
      {"page.htmlx", false},    {"notes.shtml.txt", false},
  };
  test::TempDir dir;
  for (const auto& c : cases) {
    const std::string path = dir.Write(c.name, kPage);
    const Result r = Cli({"apply", path});
    EXPECT_EQ(r.status, c.page ? 0 : 1) << c.name;
    EXPECT_EQ(r.err, c.page ? ""
                            : kPrefix + path +
                                  ": only names ending in .htm, .html, .shtml or .xhtml are "
                                  "rewritten; it is left alone.\n")
        << c.name;
    EXPECT_EQ(test::ReadFile(path), c.page ? kApplied : kPage) << c.name;
  }
  // A folder search finds the same pages, and never a backup.
  for (const auto& c : cases) dir.Write(c.name, kPage);
  const Result r = Cli({"apply", "-r", dir.Path().string()});
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.err, kPrefix + "4 pages: 4 changed, 0 unchanged, 0 left alone\n");
  for (const auto& c : cases) {
    EXPECT_EQ(test::ReadFile((dir.Path() / c.name).string()), c.page ? kApplied : kPage) << c.name;
  }
  // list, generate and existing keep their rules: a named file's extension holds "htm"; a
  // folder search takes .htm and .html.
  EXPECT_EQ(Cli({"generate", (dir.Path() / "page.phtml").string()}).status, 0);
  const Result listed = Cli({"existing", "-r", dir.Path().string()});
  EXPECT_EQ(listed.status, 0);
  EXPECT_NE(listed.out.find("a.htm <=="), std::string::npos);
  EXPECT_NE(listed.out.find("b.HTML <=="), std::string::npos);
  EXPECT_EQ(listed.out.find("shtml <=="), std::string::npos);
  EXPECT_EQ(listed.out.find("~ <=="), std::string::npos);
}

TEST(ApplyFiles, BackupsAreNumberedAndNeverOverwritten) {
  test::TempDir dir;
  const std::string page = (dir.Path() / "page.html").string();
  const auto version = [](int n) { return "<!-- version " + std::to_string(n) + " -->\n" + kPage; };
  for (int n = 1; n <= 3; ++n) {
    dir.Write("page.html", version(n));
    const Result r = Cli({"apply", "--backup", page});
    EXPECT_EQ(r.status, 0) << r.err;
  }
  dir.Write("page.html.orig", "keep me");
  dir.Write("page.html", version(4));
  EXPECT_EQ(Cli({"apply", "--backup=.orig", page}).status, 0);
  dir.Write("page.html", version(5));
  EXPECT_EQ(Cli({"apply", "--backup=.old", page}).status, 0);

  const std::pair<const char*, std::string> expected[] = {
      {"page.html~", version(1)},    {"page.html.~1~", version(2)}, {"page.html.~2~", version(3)},
      {"page.html.orig", "keep me"}, {"page.html.~3~", version(4)}, {"page.html.old", version(5)},
  };
  for (const auto& [name, bytes] : expected) {
    EXPECT_EQ(test::ReadFile((dir.Path() / name).string()), bytes) << name;
  }
  EXPECT_EQ(std::distance(fs::directory_iterator(dir.Path()), fs::directory_iterator()), 7);

  // A later run over the folder takes none of the backups for a page.
  const Result again = Cli({"apply", "--backup", "-r", dir.Path().string()});
  EXPECT_EQ(again.status, 0);
  for (const auto& [name, bytes] : expected) {
    EXPECT_EQ(test::ReadFile((dir.Path() / name).string()), bytes) << name;
  }
  // A suffix that would make the backup a page is refused.
  const Result refused = Cli({"apply", "--backup=.bak.html", page});
  EXPECT_EQ(refused.status, 2);
  EXPECT_EQ(refused.err, kPrefix +
                             "The backup suffix must not end in .htm, .html, .shtml or .xhtml: a "
                             "backup is never a page.\n");
}

TEST(ApplyFiles, ModeAclAndExtendedAttributesAreKept) {
  test::TempDir dir;
  const std::string page = dir.Write("page.html", kPage);
  if (::setxattr(page.c_str(), "user.origin", "site", 4, 0) != 0) {
    GTEST_SKIP() << "the temporary folder's file system keeps no extended attributes: "
                 << std::strerror(errno);
  }
  const std::string acl =
      "user::rw-,user:" + std::to_string(kOtherUser) + ":rw-,group::r--,mask::rw-,other::---";
  ASSERT_TRUE(SetAcl(page, acl.c_str())) << std::strerror(errno);
  const struct stat before = Stat(page);

  const Result r = Cli({"apply", page});
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(test::ReadFile(page), kApplied);
  const struct stat after = Stat(page);
  EXPECT_NE(after.st_ino, before.st_ino);  // a new file took its place
  EXPECT_EQ(after.st_mode, before.st_mode);
  EXPECT_EQ(after.st_uid, before.st_uid);
  EXPECT_EQ(after.st_gid, before.st_gid);
  EXPECT_EQ(AclText(page), acl);
  char value[16] = "";
  EXPECT_EQ(::getxattr(page.c_str(), "user.origin", value, sizeof value), 4);
  EXPECT_STREQ(value, "site");

  // A folder's default ACL gives a new file entries that the page did not have: they go.
  const fs::path shared = dir.Path() / "shared";
  fs::create_directory(shared);
  const std::string folderAcl =
      "user::rwx,user:" + std::to_string(kOtherUser) + ":rwx,group::r-x,mask::rwx,other::r-x";
  ASSERT_TRUE(SetAcl(shared.string(), folderAcl.c_str(), ACL_TYPE_DEFAULT));
  const std::string plain = dir.Write("shared/plain.html", kPage);
  ASSERT_TRUE(SetAcl(plain, "user::rw-,group::r--,other::r--"));
  ASSERT_EQ(::acl_extended_file(plain.c_str()), 0);
  EXPECT_EQ(Cli({"apply", plain}).status, 0);
  EXPECT_EQ(test::ReadFile(plain), kApplied);
  EXPECT_EQ(::acl_extended_file(plain.c_str()), 0);
  EXPECT_EQ(Stat(plain).st_mode & 07777, 0644u);
  EXPECT_EQ(Leftovers(dir.Path()), std::vector<std::string>{});
}

TEST(ApplyFiles, ReadOnlyPagesAndHardLinksAreLeftAlone) {
  test::TempDir dir;
  const std::string readOnly = dir.Write("read-only.html", kPage);
  fs::permissions(readOnly, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
  const std::string linked = dir.Write("linked.html", kPage);
  const std::string other = (dir.Path() / "other-name.txt").string();
  fs::create_hard_link(linked, other);

  const Result r = Cli({"apply", readOnly, linked});
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.err, kPrefix + readOnly + ": the page is read-only; it is left alone.\n" + kPrefix +
                       linked +
                       ": the page has 2 hard links, which replacing it would split; it is left "
                       "alone (--break-hard-links replaces this name only).\n" +
                       kPrefix +
                       "2 pages: 0 changed, 0 unchanged, 2 left alone (1 read-only, 1 with hard "
                       "links)\n");
  EXPECT_EQ(test::ReadFile(readOnly), kPage);
  EXPECT_EQ(test::ReadFile(linked), kPage);
  EXPECT_EQ(Stat(linked).st_nlink, 2u);
  // --dry-run tells the same without a diff.
  const Result dry = Cli({"apply", "--dry-run", readOnly, linked});
  EXPECT_EQ(dry.status, 1);
  EXPECT_EQ(dry.out, "");
  EXPECT_EQ(dry.err, r.err.substr(0, r.err.rfind(kPrefix)) + kPrefix +
                         "2 pages: 0 would change, 0 unchanged, 2 left alone (1 read-only, 1 with "
                         "hard links)\n");
  // --break-hard-links replaces this name; the other keeps the old page.
  const Result broken = Cli({"apply", "--break-hard-links", linked});
  EXPECT_EQ(broken.status, 0) << broken.err;
  EXPECT_EQ(test::ReadFile(linked), kApplied);
  EXPECT_EQ(test::ReadFile(other), kPage);
  EXPECT_EQ(Stat(linked).st_nlink, 1u);
  EXPECT_EQ(Stat(other).st_nlink, 1u);
  // A page that would not change is no problem.
  fs::remove(other);
  fs::create_hard_link(linked, other);
  EXPECT_EQ(Cli({"apply", linked}).status, 0);
  EXPECT_EQ(Leftovers(dir.Path()), std::vector<std::string>{});
}

// Owner, group, rights and ACL, with the program run as a user that is not root.
TEST(ApplyFiles, AsAnotherUserOwnerGroupAndRightsAreKeptOrThePageIsLeftAlone) {
  if (!IsRoot()) {
    GTEST_SKIP() << "running apply as another user, on pages of several owners, needs root";
  }
  const struct {
    const char* what;
    uid_t owner;
    gid_t group;
    mode_t mode;
    const char* acl;  // nullptr for none
    int status;
    std::string message;
  } cases[] = {
      {"the user's own page", kUser, kUserGroup, 0644, nullptr, 0, ""},
      {"the user's page in another of the user's groups", kUser, kMemberGroup, 0664, nullptr, 0,
       ""},
      {"the user's page with an ACL", kUser, kUserGroup, 0640,
       "u::rw-,u:4244:rw-,g::r--,m::rw-,o::---", 0, ""},
      {"the user's read-only page", kUser, kUserGroup, 0444, nullptr, 1,
       "the page is read-only; it is left alone."},
      {"another user's page", 0, 0, 0644, nullptr, 1,
       "the page cannot be written: Permission denied; it is left alone."},
      {"another user's page that the user's group may write", 0, kMemberGroup, 0664, nullptr, 1,
       "its owner cannot be kept (Operation not permitted); it is left alone."},
      {"another user's page that an ACL lets the user write", 0, 0, 0644,
       "u::rw-,u:65534:rw-,g::r--,m::rw-,o::r--", 1,
       "its owner cannot be kept (Operation not permitted); it is left alone."},
      {"the user's page in a group the user is not in", kUser, kOtherGroup, 0644, nullptr, 1,
       "its group cannot be kept (Operation not permitted); it is left alone."},
  };
  for (const auto& c : cases) {
    test::TempDir dir;
    // A folder that everyone may write, as a shared web folder can be.
    fs::permissions(dir.Path(), fs::perms::all);
    const std::string page = dir.Write("page.html", kPage);
    ASSERT_EQ(::chown(page.c_str(), c.owner, c.group), 0);
    ASSERT_EQ(::chmod(page.c_str(), c.mode), 0);
    if (c.acl != nullptr) {
      ASSERT_TRUE(SetAcl(page, c.acl)) << c.what;
    }
    const struct stat before = Stat(page);
    const std::string aclBefore = AclText(page);

    const Result r = Program(AsUser({"apply", page}));
    EXPECT_EQ(r.status, c.status) << c.what << ": " << r.err;
    EXPECT_EQ(r.err, c.message.empty() ? "" : kPrefix + page + ": " + c.message + "\n") << c.what;
    EXPECT_EQ(test::ReadFile(page), c.status == 0 ? kApplied : kPage) << c.what;
    const struct stat after = Stat(page);
    EXPECT_EQ(after.st_uid, before.st_uid) << c.what;
    EXPECT_EQ(after.st_gid, before.st_gid) << c.what;
    EXPECT_EQ(after.st_mode, before.st_mode) << c.what;
    EXPECT_EQ(AclText(page), aclBefore) << c.what;
    EXPECT_EQ(Leftovers(dir.Path()), std::vector<std::string>{}) << c.what;
  }
}

TEST(ApplyFiles, RootKeepsTheOwnerOfAnotherUsersPage) {
  if (!IsRoot()) GTEST_SKIP() << "giving a page to another owner needs root";
  test::TempDir dir;
  const std::string page = dir.Write("page.html", kPage);
  ASSERT_EQ(::chown(page.c_str(), kUser, kOtherGroup), 0);
  ASSERT_EQ(::chmod(page.c_str(), 02664), 0);  // the set-group-ID bit goes on a chown
  const Result r = Cli({"apply", page});
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(test::ReadFile(page), kApplied);
  EXPECT_EQ(Stat(page).st_uid, kUser);
  EXPECT_EQ(Stat(page).st_gid, kOtherGroup);
  EXPECT_EQ(Stat(page).st_mode & 07777, 02664u);
}

TEST(ApplyFiles, FolderSearchSkipsLinksUnlessAsked) {
  test::TempDir dir;
  const fs::path& root = dir.Path();
  fs::create_directories(root / "site" / "sub");
  fs::create_directories(root / "outside");
  dir.Write("site/a.html", kPage);
  dir.Write("site/sub/b.html", kPage);
  dir.Write("outside/secret.html", kPage);
  fs::create_symlink(root / "outside" / "secret.html", root / "site" / "c-link.html");
  fs::create_directory_symlink(root / "outside", root / "site" / "d-folder-link");
  fs::create_directory_symlink(root / "site", root / "site" / "sub" / "loop");
  fs::create_symlink(root / "missing.html", root / "site" / "e-dangling.html");
  fs::create_symlink(root / "site" / "a.html", root / "site" / "f-same.html");
  dir.Write("outside/passwd", kPage);
  fs::create_symlink(root / "outside" / "passwd", root / "site" / "g-passwd.html");

  const auto listed = [&](bool follow) {
    std::vector<std::string> lines;
    for (const InputItem& item :
         ListInputs({(root / "site").string()},
                    {.recursive = true, .follow = follow, .pagesOnly = true})) {
      lines.push_back(fs::path(item.path).lexically_relative(root / "site").string() +
                      (item.error.empty() ? "" : " ! " + item.error) +
                      (item.sameAs.empty()
                           ? ""
                           : " = " + fs::path(item.sameAs).lexically_relative(root).string()));
    }
    return lines;
  };
  EXPECT_EQ(listed(false), (std::vector<std::string>{"a.html", "sub/b.html"}));
  EXPECT_EQ(listed(true), (std::vector<std::string>{
                              "a.html",
                              "c-link.html",
                              "d-folder-link/secret.html = site/c-link.html",
                              "e-dangling.html ! cannot follow the link: No such file or directory",
                              "f-same.html = site/a.html",
                              std::string("g-passwd.html ! the link leads to a file whose "
                                          "name is not a page's; it is left alone."),
                              "sub/b.html",
                          }));

  const Result r = Cli({"apply", "-r", (root / "site").string()});
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(test::ReadFile((root / "outside" / "secret.html").string()), kPage);
  EXPECT_EQ(test::ReadFile((root / "site" / "a.html").string()), kApplied);
  EXPECT_EQ(r.err, kPrefix + "2 pages: 2 changed, 0 unchanged, 0 left alone\n");

  // Followed, the links lead to the page outside once; the loop is entered once.
  const Result followed = Cli({"apply", "-L", "-r", (root / "site").string()});
  EXPECT_EQ(followed.status, 1);
  const std::string site = (root / "site").string();
  EXPECT_EQ(followed.err,
            kPrefix + site + "/d-folder-link/secret.html: the same file as " + site +
                "/c-link.html; it is processed once.\n" + kPrefix + site +
                "/e-dangling.html: cannot follow the link: No such file or directory\n" + kPrefix +
                site + "/f-same.html: the same file as " + site +
                "/a.html; it is processed once.\n" + kPrefix + site +
                "/g-passwd.html: the link leads to a file whose name is not a page's; it is left "
                "alone.\n" +
                kPrefix +
                "5 pages: 1 changed, 2 unchanged, 2 left alone (1 not found, 1 not a page)\n");
  EXPECT_EQ(test::ReadFile((root / "outside" / "secret.html").string()), kApplied);
  EXPECT_EQ(test::ReadFile((root / "outside" / "passwd").string()), kPage);
  EXPECT_TRUE(fs::is_symlink(root / "site" / "c-link.html"));
}

TEST(ApplyFiles, AFileReachedTwiceIsProcessedOnceUnderAnyJobs) {
  std::string firstErr;
  for (const char* jobs : {"1", "2", "8"}) {
    test::TempDir dir;
    std::vector<std::string> args = {"apply", "--backup", "-j", jobs};
    for (int i = 0; i < 12; ++i) {
      const std::string name = "p" + std::to_string(10 + i) + ".html";
      const std::string page = dir.Write(name, kPage);
      fs::create_symlink(name, dir.Path() / ("link" + std::to_string(10 + i) + ".html"));
      args.push_back(page);
      args.push_back((dir.Path() / ("link" + std::to_string(10 + i) + ".html")).string());
      args.push_back((dir.Path() / "." / name).string());
    }
    const Result r = Cli(args);
    EXPECT_EQ(r.status, 0) << jobs << r.err;
    // Names differ from folder to folder: compare the messages with the folder taken out.
    std::string err = r.err;
    for (std::size_t at; (at = err.find(dir.Path().string())) != std::string::npos;) {
      err.replace(at, dir.Path().string().size(), "DIR");
    }
    EXPECT_NE(err.find("DIR/link10.html: the same file as DIR/p10.html; it is processed once.\n"
                       "tagwright-cli: DIR/./p10.html: the same file as DIR/p10.html; it is "
                       "processed once.\n"),
              std::string::npos)
        << err;
    EXPECT_TRUE(err.ends_with("12 pages: 12 changed, 0 unchanged, 0 left alone\n")) << err;
    if (firstErr.empty()) firstErr = err;
    EXPECT_EQ(err, firstErr) << jobs;
    for (int i = 0; i < 12; ++i) {
      const fs::path page = dir.Path() / ("p" + std::to_string(10 + i) + ".html");
      EXPECT_EQ(test::ReadFile(page.string()), kApplied);
      EXPECT_EQ(test::ReadFile(page.string() + "~"), kPage);
      EXPECT_FALSE(fs::exists(page.string() + ".~1~"));
    }
  }
}

// Starts apply on a site large enough to be still at work when the first page is written,
// stops it with `signal` and checks that it ended cleanly.
void CheckInterrupt(int signal, const char* jobs) {
  constexpr int kPages = 2000;
  test::TempDir dir;
  fs::create_directory(dir.Path() / "site");
  char name[32];
  for (int i = 0; i < kPages; ++i) {
    std::snprintf(name, sizeof name, "site/p%04d.html", i);
    dir.Write(name, kPage);
  }
  const std::string first = (dir.Path() / "site" / "p0000.html").string();
  const std::string err = (dir.Path() / "err").string();
  const pid_t pid =
      Start({TAGWRIGHT_CLI, "apply", "-j", jobs, "-r", (dir.Path() / "site").string()},
            (dir.Path() / "out").string(), err);
  ASSERT_GT(pid, 0);
  // The signal is sent once the run is under way: the first page has its tag.
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
  while (Stat(first).st_size == static_cast<off_t>(kPage.size()) &&
         std::chrono::steady_clock::now() < deadline) {
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  ASSERT_EQ(::kill(pid, signal), 0);
  EXPECT_EQ(Wait(pid), 128 + signal) << test::ReadFile(err);
  EXPECT_EQ(test::ReadFile(err), std::string("tagwright-cli: stopped by ") +
                                     (signal == SIGINT    ? "SIGINT"
                                      : signal == SIGTERM ? "SIGTERM"
                                                          : "SIGHUP") +
                                     "; no page is half-written.\n");
  int applied = 0;
  for (const auto& entry : fs::directory_iterator(dir.Path() / "site")) {
    const std::string bytes = test::ReadFile(entry.path().string());
    EXPECT_TRUE(bytes == kPage || bytes == kApplied) << entry.path();
    if (bytes == kApplied) ++applied;
  }
  EXPECT_EQ(Leftovers(dir.Path()), std::vector<std::string>{});
  EXPECT_EQ(std::distance(fs::directory_iterator(dir.Path() / "site"), fs::directory_iterator()),
            kPages);
  // Stopped in the middle: some pages were written, not all.
  EXPECT_GT(applied, 0);
  EXPECT_LT(applied, kPages);
}

TEST(ApplyFiles, InterruptsEndTheRunCleanly) {
  CheckInterrupt(SIGTERM, "1");
  CheckInterrupt(SIGINT, "4");
  CheckInterrupt(SIGHUP, "2");
}

// Removes a folder tree deeper than a path may be long, by folder descriptors.
void RemoveDeep(int parent, const char* name) {
  const int fd = ::openat(parent, name, O_RDONLY | O_DIRECTORY | O_NOFOLLOW);
  if (fd >= 0) {
    if (DIR* dir = ::fdopendir(fd)) {
      std::vector<std::string> names;
      while (const dirent* entry = ::readdir(dir)) {
        if (std::strcmp(entry->d_name, ".") != 0 && std::strcmp(entry->d_name, "..") != 0) {
          names.emplace_back(entry->d_name);
        }
      }
      for (const std::string& child : names) {
        if (::unlinkat(::dirfd(dir), child.c_str(), 0) != 0)
          RemoveDeep(::dirfd(dir), child.c_str());
      }
      ::closedir(dir);
    } else {
      ::close(fd);
    }
  }
  ::unlinkat(parent, name, AT_REMOVEDIR);
}

TEST(ApplyFiles, PathsLongerThanTheSystemAllowsAreReported) {
  test::TempDir dir;
  // Folders of 200-letter names, deeper than a path may be long, with a page in each, which
  // sorts before the folder.
  const std::string folder(200, 'f');
  int fd = ::open(dir.Path().c_str(), O_RDONLY | O_DIRECTORY);
  ASSERT_GE(fd, 0);
  const int top = ::dup(fd);
  std::vector<std::string> folders = {dir.Path().string()};
  while (folders.back().size() < PATH_MAX + 400) {
    const int page = ::openat(fd, "a.html", O_WRONLY | O_CREAT, 0644);
    ASSERT_GE(page, 0);
    ASSERT_EQ(::write(page, kPage.data(), kPage.size()), static_cast<ssize_t>(kPage.size()));
    ::close(page);
    ASSERT_EQ(::mkdirat(fd, folder.c_str(), 0755), 0);
    const int next = ::openat(fd, folder.c_str(), O_RDONLY | O_DIRECTORY);
    ::close(fd);
    fd = next;
    ASSERT_GE(fd, 0);
    folders.push_back(folders.back() + "/" + folder);
  }
  ::close(fd);

  const Result r = Cli({"apply", "-r", dir.Path().string()});
  EXPECT_EQ(r.status, 1);
  // What the search meets, top down: each folder's page, then its folder.
  const std::string tooLong =
      "the path is longer than the system allows (" + std::to_string(PATH_MAX) + " bytes); ";
  std::string expected;
  int changed = 0;
  int left = 0;
  for (std::size_t level = 0; level + 1 < folders.size(); ++level) {
    const std::string page = folders[level] + "/a.html";
    if (page.size() >= PATH_MAX) {
      expected += kPrefix + page + ": " + tooLong + "it is left alone.\n";
      ++left;
    } else {
      ++changed;
    }
    if (folders[level + 1].size() >= PATH_MAX) {
      expected += kPrefix + folders[level + 1] + ": " + tooLong + "the folder is not searched.\n";
      ++left;
      break;
    }
  }
  expected += kPrefix + std::to_string(changed + left) + " pages: " + std::to_string(changed) +
              " changed, 0 unchanged, " + std::to_string(left) + " left alone (" +
              std::to_string(left) + " path too long)\n";
  EXPECT_EQ(r.err, expected);
  EXPECT_GT(changed, 10);
  EXPECT_EQ(test::ReadFile((dir.Path() / "a.html").string()), kApplied);
  RemoveDeep(top, folder.c_str());
  ::close(top);
}

const std::string kUtf16Le = std::string("<\0h\0e\0a\0d\0>\0<\0/\0h\0e\0a\0d\0>\0", 26);

TEST(ApplyFiles, WideUnicodePagesAreNotRewritten) {
  const struct {
    const char* name;
    std::string bytes;
    const char* form;
  } cases[] = {
      {"utf16le-bom.html", "\xFF\xFE" + kUtf16Le, "UTF-16"},
      {"utf16be-bom.html", std::string("\xFE\xFF\0<\0h", 6), "UTF-16"},
      {"utf16le.html", kUtf16Le, "UTF-16"},
      {"utf16be.html", std::string("\0<\0h\0e\0a\0d\0>", 12), "UTF-16"},
      {"utf32le-bom.html", std::string("\xFF\xFE\0\0<\0\0\0", 8), "UTF-32"},
      {"utf32be.html", std::string("\0\0\0<\0\0\0h", 8), "UTF-32"},
      {"utf32le.html", std::string("\n\0\0\0<\0\0\0h\0\0\0", 12), "UTF-32"},
  };
  test::TempDir dir;
  for (const auto& c : cases) {
    const std::string page = dir.Write(c.name, c.bytes);
    const Result r = Cli({"apply", page});
    EXPECT_EQ(r.status, 1) << c.name;
    EXPECT_EQ(r.err, kPrefix + page + ": " + c.form + " pages are not rewritten.\n") << c.name;
    EXPECT_EQ(test::ReadFile(page), c.bytes) << c.name;
  }
}

TEST(ApplyFiles, StandardInputAlwaysGivesThePage) {
  const struct {
    const char* what;
    std::string page;
    int status;
    std::string out;
    std::string err;
  } cases[] = {
      {"changed", kPage, 0, kApplied, ""},
      {"unchanged", kApplied, 0, kApplied, ""},
      {"no </head>", "<p>Flights, flights.</p>", 1, "<p>Flights, flights.</p>",
       "-: the page has no head for the tag; it is left alone."},
      {"no keywords", "<head></head><p>a</p>", 1, "<head></head><p>a</p>",
       "-: No words with more than 3 letters occur at least twice. The page is left alone."},
      {"UTF-16", "\xFF\xFE" + kUtf16Le, 1, "\xFF\xFE" + kUtf16Le,
       "-: UTF-16 pages are not rewritten."},
  };
  for (const auto& c : cases) {
    const Result r = Cli({"apply", "-"}, c.page);
    EXPECT_EQ(r.status, c.status) << c.what;
    EXPECT_EQ(r.out, c.out) << c.what;
    EXPECT_EQ(r.err, c.err.empty() ? "" : kPrefix + c.err + "\n") << c.what;
  }
}

TEST(ApplyFiles, DryRunHeadersQuoteNamesAndPatchGivesWhatApplyWrites) {
  if (Program({"patch", "--version"}).status != 0) {
    GTEST_SKIP() << "patch is not installed (scripts/install-deps.sh installs it)";
  }
  const struct {
    std::string name;
    std::string header;
  } cases[] = {
      {"plain.html", "plain.html"},
      {"my page.html", "\"my page.html\""},
      {"tab\there.html", "\"tab\\there.html\""},
      {"new\nline.html", "\"new\\nline.html\""},
      {"quote\"d.html", "\"quote\\\"d.html\""},
      {"back\\slash.html", "\"back\\\\slash.html\""},
      {"caf\xc3\xa9.html", "\"caf\\303\\251.html\""},
  };
  test::TempDir dir;
  fs::create_directories(dir.Path() / "site" / "sub folder");
  fs::create_directories(dir.Path() / "copy" / "sub folder");
  for (const auto& c : cases) {
    dir.Write("site/sub folder/" + c.name, kPage);
    dir.Write("copy/sub folder/" + c.name, kPage);
  }
  const fs::path before = fs::current_path();
  fs::current_path(dir.Path() / "site");
  const Result diff = Cli({"apply", "--dry-run", "-r", "."});
  fs::current_path(before);
  EXPECT_EQ(diff.status, 0) << diff.err;
  for (const auto& c : cases) {
    const std::string label = c.header.starts_with('"') ? "\"./sub folder/" + c.header.substr(1)
                                                        : "\"./sub folder/" + c.header + "\"";
    EXPECT_NE(diff.out.find("\n+++ " + label + "\t"), std::string::npos) << c.header;
    EXPECT_NE(diff.out.find("--- " + label + "\t"), std::string::npos) << c.header;
  }
  const std::string patchFile = dir.Write("changes.diff", diff.out);
  const Result patched =
      Program({"patch", "-s", "-p0", "-d", (dir.Path() / "copy").string(), "-i", patchFile});
  EXPECT_EQ(patched.status, 0) << patched.out << patched.err;
  EXPECT_EQ(Cli({"apply", "-r", (dir.Path() / "site").string()}).status, 0);
  for (const auto& c : cases) {
    EXPECT_EQ(test::ReadFile((dir.Path() / "copy" / "sub folder" / c.name).string()),
              test::ReadFile((dir.Path() / "site" / "sub folder" / c.name).string()))
        << c.header;
    EXPECT_EQ(test::ReadFile((dir.Path() / "site" / "sub folder" / c.name).string()), kApplied);
  }
}

TEST(ApplyFiles, SummaryLine) {
  test::TempDir dir;
  const std::string changed = dir.Write("changed.html", kPage);
  const std::string same = dir.Write("same.html", kApplied);
  const std::string bare = dir.Write("bare.html", "<p>Flights, flights.</p>");
  const std::string missing = (dir.Path() / "missing.html").string();
  const std::string text = dir.Write("notes.txt", kPage);
  const std::string bare2 = dir.Write("bare2.htm", "<p>Tours, tours.</p>");
  const struct {
    std::vector<std::string> args;
    bool terminal;
    std::string line;  // "" for none
  } cases[] = {
      {{"apply", changed, same, bare, missing, text, bare2},
       false,
       "6 pages: 1 changed, 1 unchanged, 4 left alone (2 no head, 1 not found, 1 not a "
       "page)"},
      {{"apply", "--dry-run", same, bare},
       false,
       "2 pages: 0 would change, 1 unchanged, 1 left alone (1 no head)"},
      {{"apply", same}, false, ""},
      {{"apply", same}, true, "1 page: 0 changed, 1 unchanged, 0 left alone"},
      {{"generate", same, changed}, true, ""},
  };
  // "tagwright-cli: N page: " or "tagwright-cli: N pages: ".
  const auto isSummary = [](const std::string& line) {
    if (!line.starts_with(kPrefix)) return false;
    const std::size_t end = line.find_first_not_of("0123456789", kPrefix.size());
    return end > kPrefix.size() && end != std::string::npos &&
           (line.compare(end, 7, " page: ") == 0 || line.compare(end, 8, " pages: ") == 0);
  };
  for (const auto& c : cases) {
    const Result r = Cli(c.args, "", c.terminal);
    std::istringstream lines(r.err);
    int found = 0;
    for (std::string line; std::getline(lines, line);) found += isSummary(line) ? 1 : 0;
    EXPECT_EQ(found, c.line.empty() ? 0 : 1) << r.err;
    if (!c.line.empty()) {
      EXPECT_TRUE(r.err.ends_with(kPrefix + c.line + "\n")) << r.err;
    }
  }
}

}  // namespace
}  // namespace tagwright::cli
