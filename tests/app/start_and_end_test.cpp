// Where the state file lives, a read-only state file, the end of the program on a signal, the
// page named on the command line, and the command line's answers.

#include <QCheckBox>
#include <QDir>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProcess>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

#include <csignal>
#include <filesystem>

#include "app/shutdown.h"
#include "app/state_location.h"
#include "app/window_harness.h"

namespace tagwright::test {
namespace {

namespace fs = std::filesystem;

constexpr fs::perms kReadOnly =
    fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read;
constexpr fs::perms kReadOnlyFolder =
    kReadOnly | fs::perms::owner_exec | fs::perms::group_exec | fs::perms::others_exec;

QString Q(const fs::path& path) { return QString::fromStdString(path.string()); }

}  // namespace

class StartAndEndTest : public QObject {
  Q_OBJECT
 private slots:
  void writableProgramFolderKeepsItsStateFile();
  void readOnlyProgramFolderUsesThePerUserFile();
  void installedProgramUsesThePerUserFile_data();
  void installedProgramUsesThePerUserFile();
  void readOnlyStateFileIsNotReplaced();
  void terminationSavesTheStateAndEnds_data();
  void terminationSavesTheStateAndEnds();
  void pageFromTheCommandLineIsChecked();
  void rejectedPageIsNeverRead();
  void longLimitTextsAreKeptAsStored();
  void modernMarkupIsRemembered();
  void commandLineAnswers_data();
  void commandLineAnswers();
};

void StartAndEndTest::writableProgramFolderKeepsItsStateFile() {
  TempDir program;
  TempDir user;
  QCOMPARE(StateFilePath(Q(program.Path()), Q(user.Path() / "tagwright")),
           Q(program.Path() / "tgw.usr"));
  QVERIFY(!fs::exists(user.Path() / "tagwright"));  // nothing made that is not needed
}

void StartAndEndTest::readOnlyProgramFolderUsesThePerUserFile() {
  TempDir program;
  TempDir user;
  // Someone else's settings beside the program, in a folder this user may not write.
  const std::string foreign =
      "\"/elsewhere/"
      "page.html\"\r\n\"theirs\"\r\n\"9\"\r\n\"9\"\r\n0\r\n0\r\n0\r\n0\r\n0\r\n0\r\n0\r\n";
  program.Write("tgw.usr", foreign);
  fs::permissions(program.Path(), kReadOnlyFolder);
  const QString path = StateFilePath(Q(program.Path()), Q(user.Path() / "config" / "tagwright"));
  QCOMPARE(path, Q(user.Path() / "config" / "tagwright" / "tgw.usr"));
  QVERIFY(fs::is_directory(user.Path() / "config" / "tagwright"));

  FakePlatform platform;
  {
    MainWindow w(platform, path);
    w.Form_Load();
    QCOMPARE(w.findChild<QLineEdit*>("txbBeginMetaTagWith")->text(), QString());  // not read
    w.findChild<QLineEdit*>("txbBeginMetaTagWith")->setText("mine");
    w.close();
  }
  QVERIFY(platform.messages.empty());
  QVERIFY(ReadFile(path.toStdString()).find("\"mine\"") != std::string::npos);
  fs::permissions(program.Path(), fs::perms::owner_all);
  QCOMPARE(ReadFile((program.Path() / "tgw.usr").string()), foreign);
}

void StartAndEndTest::installedProgramUsesThePerUserFile_data() {
  QTest::addColumn<QString>("programFolder");  // "" for bin/ in a fresh temporary prefix
  QTest::addColumn<bool>("manualBeside");      // ../share/doc/tagwright exists
  QTest::addColumn<bool>("installed");
  QTest::newRow("unpacked copy") << QString() << false << false;
  QTest::newRow("manual installed beside") << QString() << true << true;
  QTest::newRow("/usr/bin") << "/usr/bin" << false << true;
  QTest::newRow("/usr/local/bin") << "/usr/local/bin" << false << true;
  QTest::newRow("/opt") << "/opt/tagwright/bin" << false << true;
}

void StartAndEndTest::installedProgramUsesThePerUserFile() {
  QFETCH(QString, programFolder);
  QFETCH(bool, manualBeside);
  QFETCH(bool, installed);
  TempDir prefix;
  TempDir user;
  fs::create_directories(prefix.Path() / "bin");
  if (manualBeside) fs::create_directories(prefix.Path() / "share" / "doc" / "tagwright");
  if (programFolder.isEmpty()) programFolder = Q(prefix.Path() / "bin");
  QCOMPARE(InstalledProgram(programFolder), installed);
  // Whether or not this user (root, say) may write the program's folder.
  const QString path = StateFilePath(programFolder, Q(user.Path() / "tagwright"));
  QCOMPARE(path, installed ? Q(user.Path() / "tagwright" / "tgw.usr")
                           : QDir(programFolder).filePath("tgw.usr"));
}

void StartAndEndTest::readOnlyStateFileIsNotReplaced() {
  WindowHarness h;
  h.WriteState("\"\"\r\n\"kept\"\r\n\"50\"\r\n\"500\"\r\n2\r\n1\r\n1\r\n1\r\n2\r\n1\r\n1\r\n");
  const std::string before = h.ReadState();
  fs::permissions(h.StateFile().toStdString(), kReadOnly);
  MainWindow& w = h.Start();
  QSignalSpy ended(&w, &MainWindow::ended);
  QCOMPARE(h.Find<QLineEdit>("txbBeginMetaTagWith")->text(), QStringLiteral("kept"));
  h.Find<QLineEdit>("txbBeginMetaTagWith")->setText("changed");
  Click(h.Find<QPushButton>("cmdQuit"));
  QCOMPARE(h.platform.messages.size(), std::size_t{1});
  QVERIFY(h.platform.messages[0].text.startsWith("Error when attempting to save the state: "));
  QCOMPARE(h.platform.messages[0].title, QStringLiteral("Save state"));
  QCOMPARE(ended.count(), 1);  // the program still ends
  QCOMPARE(h.ReadState(), before);
}

void StartAndEndTest::terminationSavesTheStateAndEnds_data() {
  QTest::addColumn<int>("signal");
  QTest::newRow("SIGTERM") << SIGTERM;
  QTest::newRow("SIGHUP") << SIGHUP;
  QTest::newRow("SIGINT") << SIGINT;
}

void StartAndEndTest::terminationSavesTheStateAndEnds() {
  QFETCH(int, signal);
  WindowHarness h;
  MainWindow& w = h.Start();
  QSignalSpy ended(&w, &MainWindow::ended);
  int received = 0;
  const TerminationWatch watch([&w, &received](int number) {
    received = number;
    w.Form_Unload();
  });
  h.Find<QLineEdit>("txbBeginMetaTagWith")->setText("saved on a signal");
  QCOMPARE(std::raise(signal), 0);
  QVERIFY(ended.wait(10000));  // a watchdog, not a measure
  QCOMPARE(ended.count(), 1);
  QCOMPARE(received, signal);
  QVERIFY(h.ReadState().find("\"saved on a signal\"") != std::string::npos);
  QVERIFY(!w.isVisible());
}

void StartAndEndTest::pageFromTheCommandLineIsChecked() {
  WindowHarness h;
  const QString page = h.Page("page.html", SamplePage());
  MainWindow& w = h.Start();
  w.OpenPage(page);
  QCOMPARE(h.Find<QLineEdit>("txbInputFile")->text(), page);
  QCOMPARE(h.FocusName(), QStringLiteral("cmdGenerateKeywordMetaTag"));
  QVERIFY(h.platform.messages.empty());
  // A page that is not there is said to be missing, as a typed one is.
  w.OpenPage(QString::fromStdString((h.Dir().Path() / "gone.html").string()));
  QCOMPARE(h.platform.MessageTexts(), QStringList{"Input file does not exist."});
}

void StartAndEndTest::rejectedPageIsNeverRead() {
  WindowHarness h;
  const QString extension = QStringLiteral("Input file must have .htm or .html extension.");
  const QString notes = h.Page("notes.txt", SamplePage());
  MainWindow& w = h.Start();
  w.OpenPage(notes);
  QCOMPARE(h.platform.MessageTexts(), QStringList{extension});
  // The name stays in the box to be corrected, but no command reads the file.
  QCOMPARE(h.Find<QLineEdit>("txbInputFile")->text(), notes);
  for (const char* command :
       {"cmdListWords", "cmdGenerateKeywordMetaTag", "cmdShowExistingKeywordMetaTag"}) {
    h.platform.messages.clear();
    h.Find<QPushButton>(command)->click();
    QCOMPARE(h.platform.MessageTexts(), QStringList{extension});
    QCOMPARE(h.Find<QPlainTextEdit>("txbMetaTag")->toPlainText(), QString());
    QVERIFY(!w.AnalysisCurrent());
  }
  // A name without an extension is turned away with its own message.
  h.platform.messages.clear();
  h.Find<QLineEdit>("txbInputFile")->setText(h.Page("README", SamplePage()));
  h.Find<QPushButton>("cmdListWords")->click();
  QCOMPARE(h.platform.MessageTexts(), QStringList{"Invalid input file specification"});
  QCOMPARE(h.Find<QPlainTextEdit>("txbMetaTag")->toPlainText(), QString());
}

void StartAndEndTest::longLimitTextsAreKeptAsStored() {
  WindowHarness h;
  h.WriteState("\"\"\r\n\"\"\r\n\"10005\"\r\n\"+1000\"\r\n+2\r\n1.0\r\n1\r\n1\r\n2\r\n1\r\n1\r\n");
  h.Start();
  auto* keywords = h.Find<QLineEdit>("txbMaxNumKeywordsInMetaTag");
  QCOMPARE(keywords->text(), QStringLiteral("10005"));
  QCOMPARE(h.Find<QLineEdit>("txbMaxNumBytesInMetaTag")->text(), QStringLiteral("+1000"));
  // The user still types at most four characters.
  keywords->setFocus(Qt::OtherFocusReason);
  keywords->end(false);
  QTest::keyClick(keywords, Qt::Key_7);
  QCOMPARE(keywords->text(), QStringLiteral("10005"));
  QTest::keyClick(keywords, Qt::Key_Backspace);
  QTest::keyClick(keywords, Qt::Key_Backspace);
  QTest::keyClick(keywords, Qt::Key_7);
  QTest::keyClick(keywords, Qt::Key_8);
  QCOMPARE(keywords->text(), QStringLiteral("1007"));
}

void StartAndEndTest::modernMarkupIsRemembered() {
  WindowHarness h;
  h.Start();
  auto* modern = h.Find<QCheckBox>("chkModernMarkup");
  QCOMPARE(modern->text(), QStringLiteral("Modern mark&up"));
  QVERIFY(!modern->isChecked());
  h.Find<QLineEdit>("txbInputFile")->setText(h.Page("page.html", SamplePage()));
  h.Find<QPushButton>("cmdGenerateKeywordMetaTag")->click();
  QVERIFY(h.Window().AnalysisCurrent());
  Click(modern);
  QVERIFY(!h.Window().AnalysisCurrent());
  h.Window().close();
  QVERIFY(h.ReadState().ends_with("\r\n1\r\n1\r\n1\r\n"));
  h.Start();
  QVERIFY(h.Find<QCheckBox>("chkModernMarkup")->isChecked());
  Click(h.Find<QPushButton>("cmdReset"));
  QVERIFY(!h.Find<QCheckBox>("chkModernMarkup")->isChecked());
}

void StartAndEndTest::commandLineAnswers_data() {
  QTest::addColumn<QString>("argument");
  QTest::addColumn<int>("status");
  QTest::addColumn<QString>("out");
  QTest::newRow("help") << "--help" << 0 << "Usage: ";
  QTest::newRow("version") << "--version" << 0
                           << QStringLiteral("tagwright %1\n").arg(TAGWRIGHT_VERSION);
  QTest::newRow("unknown") << "--frobnicate" << 1 << "";
}

void StartAndEndTest::commandLineAnswers() {
  QFETCH(QString, argument);
  QFETCH(int, status);
  QFETCH(QString, out);
  QProcess program;
  // No desktop is needed to answer.
  QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
  environment.remove(QStringLiteral("QT_QPA_PLATFORM"));
  environment.remove(QStringLiteral("DISPLAY"));
  environment.remove(QStringLiteral("WAYLAND_DISPLAY"));
  program.setProcessEnvironment(environment);
  program.start(QStringLiteral(TAGWRIGHT_PROGRAM), {argument});
  QVERIFY(program.waitForFinished(60000));
  QCOMPARE(program.exitStatus(), QProcess::NormalExit);
  QCOMPARE(program.exitCode(), status);
  const QString stdOut = QString::fromLocal8Bit(program.readAllStandardOutput());
  if (out.isEmpty()) {
    QVERIFY(stdOut.isEmpty());
    QVERIFY(!program.readAllStandardError().isEmpty());
  } else {
    QVERIFY2(stdOut.startsWith(out), qPrintable(stdOut));
  }
}

}  // namespace tagwright::test

QTEST_MAIN(tagwright::test::StartAndEndTest)
#include "start_and_end_test.moc"
