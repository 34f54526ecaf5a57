// The window program as a process: the end on a signal while a message box is open, and the
// start without a graphical display.

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QTest>

#include <chrono>
#include <csignal>
#include <filesystem>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "support/temp_dir.h"

extern char** environ;

namespace tagwright::test {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

// Watchdogs, not measures: a working program needs a small part of them.
constexpr auto kDeadline = 5s;

/// A copy of the window program in a folder of its own, so that its tgw.usr lands there.
class Program {
 public:
  Program() {
    fs::create_directories(Folder());
    fs::copy_file(TAGWRIGHT_PROGRAM, Folder() / "tagwright");
  }
  ~Program() {
    if (pid_ > 0) {
      ::kill(pid_, SIGKILL);
      ::waitpid(pid_, nullptr, 0);
    }
  }
  Program(const Program&) = delete;
  Program& operator=(const Program&) = delete;

  fs::path Folder() const { return dir_.Path() / "bin"; }
  fs::path StateFile() const { return Folder() / "tgw.usr"; }
  fs::path Page(const char* name) const { return dir_.Path() / name; }
  void WriteState(std::string_view content) const { dir_.Write("bin/tgw.usr", content); }

  /// Starts the program with `arguments` and the environment of the test changed by `set`
  /// ("NAME=value") and without the variables named in `unset`.
  void Start(const std::vector<std::string>& arguments, const std::vector<std::string>& set,
             const std::vector<std::string>& unset) {
    std::vector<std::string> environment;
    for (char** entry = environ; *entry != nullptr; ++entry) {
      const std::string variable = *entry;
      const std::string name = variable.substr(0, variable.find('='));
      bool dropped = false;
      for (const std::string& gone : unset) dropped = dropped || name == gone;
      for (const std::string& replaced : set) {
        dropped = dropped || name == replaced.substr(0, replaced.find('='));
      }
      if (!dropped) environment.push_back(variable);
    }
    environment.insert(environment.end(), set.begin(), set.end());
    environment.push_back("HOME=" + (dir_.Path() / "home").string());
    environment.push_back("XDG_CONFIG_HOME=" + (dir_.Path() / "config").string());

    const std::string program = (Folder() / "tagwright").string();
    std::vector<char*> argv{const_cast<char*>(program.c_str())};
    for (const std::string& argument : arguments)
      argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);
    std::vector<char*> envp;
    for (std::string& variable : environment) envp.push_back(variable.data());
    envp.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    const std::string err = ErrorFile().string();
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, err.c_str(),
                                     O_WRONLY | O_CREAT | O_TRUNC, 0600);
    // The test's own signal handling is not the program's.
    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    sigset_t all;
    sigfillset(&all);
    sigset_t none;
    sigemptyset(&none);
    posix_spawnattr_setsigdefault(&attributes, &all);
    posix_spawnattr_setsigmask(&attributes, &none);
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSIGDEF | POSIX_SPAWN_SETSIGMASK);
    const int failed =
        posix_spawn(&pid_, program.c_str(), &actions, &attributes, argv.data(), envp.data());
    posix_spawnattr_destroy(&attributes);
    posix_spawn_file_actions_destroy(&actions);
    if (failed != 0) pid_ = -1;
  }

  bool Running() const { return pid_ > 0; }
  pid_t Pid() const { return pid_; }

  /// Waits until standard error holds `text`; false when the deadline passes first.
  bool WaitForError(const std::string& text) const {
    const auto end = std::chrono::steady_clock::now() + kDeadline;
    while (std::chrono::steady_clock::now() < end) {
      if (Error().find(text) != std::string::npos) return true;
      std::this_thread::sleep_for(10ms);
    }
    return false;
  }

  /// Waits for the end of the program and gives its wait status; -1 when it is still running
  /// at the deadline.
  int WaitForEnd() {
    const auto end = std::chrono::steady_clock::now() + kDeadline;
    while (std::chrono::steady_clock::now() < end) {
      int status = 0;
      if (::waitpid(pid_, &status, WNOHANG) == pid_) {
        pid_ = -1;
        return status;
      }
      std::this_thread::sleep_for(5ms);
    }
    return -1;
  }

  std::string Error() const { return ReadFile(ErrorFile().string()); }
  /// The lines of standard error that the program wrote itself (not Qt's notes).
  std::string ProgramLines() const {
    std::string lines;
    std::istringstream error(Error());
    for (std::string line; std::getline(error, line);) {
      if (line.starts_with("tagwright: ")) lines += line + "\n";
    }
    return lines;
  }

 private:
  fs::path ErrorFile() const { return dir_.Path() / "stderr.txt"; }

  TempDir dir_;
  pid_t pid_ = -1;
};

const std::vector<std::string> kOffscreen = {"QT_QPA_PLATFORM=offscreen",
                                             "TAGWRIGHT_ECHO_MESSAGES=1"};

}  // namespace

class ProgramProcessTest : public QObject {
  Q_OBJECT
 private slots:
  void signalEndsTheProgramWhileABoxIsOpen_data();
  void signalEndsTheProgramWhileABoxIsOpen();
  void signalWithAReadOnlyStateFileShowsNoBox();
  void withoutADisplayTheProgramSaysSo();
};

void ProgramProcessTest::signalEndsTheProgramWhileABoxIsOpen_data() {
  QTest::addColumn<int>("signal");
  QTest::newRow("SIGTERM") << SIGTERM;
  QTest::newRow("SIGHUP") << SIGHUP;
  QTest::newRow("SIGINT") << SIGINT;
}

void ProgramProcessTest::signalEndsTheProgramWhileABoxIsOpen() {
  QFETCH(int, signal);
  Program program;
  const std::string missing = program.Page("nope.html").string();
  program.Start({missing}, kOffscreen, {});
  QVERIFY(program.Running());
  // The box "Input file does not exist." runs its own event loop and waits for a person.
  QVERIFY2(program.WaitForError("message box: Input file does not exist."),
           program.Error().c_str());
  QCOMPARE(::kill(program.Pid(), signal), 0);
  const int status = program.WaitForEnd();
  QVERIFY2(status != -1, "still running after the signal");
  QVERIFY(WIFSIGNALED(status));
  QCOMPARE(WTERMSIG(status), signal);
  // The state was saved, with the page the box was about.
  QVERIFY(ReadFile(program.StateFile().string()).starts_with("\"" + missing + "\"\r\n"));
  // No further box and no message: only the box that was open.
  QCOMPARE(program.ProgramLines(),
           std::string("tagwright: message box: Input file does not exist.\n"));
}

void ProgramProcessTest::signalWithAReadOnlyStateFileShowsNoBox() {
  Program program;
  const std::string before =
      "\"\"\r\n\"kept\"\r\n\"50\"\r\n\"500\"\r\n2\r\n1\r\n1\r\n1\r\n2\r\n1\r\n1\r\n";
  program.WriteState(before);
  fs::permissions(program.StateFile(), fs::perms::owner_read | fs::perms::group_read);
  program.Start({program.Page("nope.html").string()}, kOffscreen, {});
  QVERIFY(program.WaitForError("message box: Input file does not exist."));
  QCOMPARE(::kill(program.Pid(), SIGTERM), 0);
  const int status = program.WaitForEnd();
  QVERIFY2(status != -1, "still running after the signal");
  QVERIFY(WIFSIGNALED(status));
  QCOMPARE(WTERMSIG(status), SIGTERM);
  // The failure is told on standard error, not in a box that no one would answer.
  QCOMPARE(program.ProgramLines(),
           std::string("tagwright: message box: Input file does not exist.\n"
                       "tagwright: Error when attempting to save the state: Permission denied\n"));
  QCOMPARE(ReadFile(program.StateFile().string()), before);
}

void ProgramProcessTest::withoutADisplayTheProgramSaysSo() {
  Program program;
  program.Start({}, {}, {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"});
  const int status = program.WaitForEnd();
  QVERIFY(status != -1);
  QVERIFY(WIFEXITED(status));
  QCOMPARE(WEXITSTATUS(status), 1);
  QCOMPARE(program.Error(),
           std::string("tagwright: needs a graphical display; tagwright-cli works without one\n"));
  QVERIFY(!fs::exists(program.StateFile()));
}

}  // namespace tagwright::test

QTEST_GUILESS_MAIN(tagwright::test::ProgramProcessTest)
#include "program_process_test.moc"
