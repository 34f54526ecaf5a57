// The state file tgw.usr: its format, the round trip, unusable files, failed writes and Reset.

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

#include <sys/resource.h>
#include <unistd.h>

#include <csignal>
#include <filesystem>

#include "app/window_harness.h"

namespace tagwright::test {
namespace {

const char* const kLists[] = {"cboShortWordSize", "cboThresholdFrequency", "cboTableWeight",
                              "cboExistingKeywordsWeight", "cboBoldWeight"};

// The state file of an input file and defaults otherwise.
std::string StateNaming(const QString& inputFile) {
  return ("\"" + inputFile +
          "\"\r\n\"\"\r\n\"50\"\r\n\"500\"\r\n2\r\n1\r\n1\r\n1\r\n2\r\n1\r\n1\r\n")
      .toStdString();
}

void ExpectDefaults(WindowHarness& h) {
  QCOMPARE(h.Find<QLineEdit>("txbInputFile")->text(), QString());
  QCOMPARE(h.Find<QLineEdit>("txbBeginMetaTagWith")->text(), QString());
  QCOMPARE(h.Find<QLineEdit>("txbMaxNumKeywordsInMetaTag")->text(), QStringLiteral("50"));
  QCOMPARE(h.Find<QLineEdit>("txbMaxNumBytesInMetaTag")->text(), QStringLiteral("500"));
  const int indexes[] = {2, 1, 1, 1, 2};
  for (int i = 0; i < 5; ++i) QCOMPARE(h.Find<QComboBox>(kLists[i])->currentIndex(), indexes[i]);
  QCOMPARE(h.Find<QCheckBox>("chkIgnoreShortWords")->checkState(), Qt::Checked);
  QCOMPARE(h.Find<QCheckBox>("chkIgnoreCommonWords")->checkState(), Qt::Checked);
}

// Makes writing into `folder` fail: a read-only folder, and where permissions do not bind
// (running as root) a file-size limit that no write gets past. Undone by the destructor.
class FailingWrites {
 public:
  explicit FailingWrites(const std::filesystem::path& folder) : folder_(folder) {
    std::filesystem::permissions(
        folder_, std::filesystem::perms::owner_read | std::filesystem::perms::owner_exec);
    if (::geteuid() == 0) {
      std::signal(SIGXFSZ, SIG_IGN);
      ::getrlimit(RLIMIT_FSIZE, &saved_);
      rlimit tiny = saved_;
      tiny.rlim_cur = 1;
      ::setrlimit(RLIMIT_FSIZE, &tiny);
      limited_ = true;
    }
  }
  ~FailingWrites() {
    if (limited_) ::setrlimit(RLIMIT_FSIZE, &saved_);
    std::filesystem::permissions(folder_, std::filesystem::perms::owner_all);
  }

 private:
  std::filesystem::path folder_;
  rlimit saved_{};
  bool limited_ = false;
};

}  // namespace

class StateTest : public QObject {
  Q_OBJECT
 private slots:
  void everyValueComesBack();
  void fileHasTwelveLines();
  void unusableFileGivesTheDefaults_data();
  void unusableFileGivesTheDefaults();
  void hostileFileGivesTheDefaults_data();
  void hostileFileGivesTheDefaults();
  void failedWriteKeepsThePreviousFile();
  void writeIntoAMissingFolderFails();
  void resetKeepsTheTextsAndTheLargeWindow();
};

void StateTest::everyValueComesBack() {
  WindowHarness h;
  const QString page = h.Page("my page, 1.html", SamplePage());
  h.Start();
  h.Find<QLineEdit>("txbInputFile")->setText(page);
  h.Find<QLineEdit>("txbBeginMetaTagWith")->setText("web design, \"html\" tools");
  h.Find<QLineEdit>("txbMaxNumKeywordsInMetaTag")->setText("75");
  h.Find<QLineEdit>("txbMaxNumBytesInMetaTag")->setText("+9x");  // kept as typed
  const int indexes[] = {0, 8, 9, 0, 8};
  for (int i = 0; i < 5; ++i) h.Find<QComboBox>(kLists[i])->setCurrentIndex(indexes[i]);
  h.Find<QCheckBox>("chkIgnoreShortWords")->setChecked(false);
  h.Find<QCheckBox>("chkIgnoreCommonWords")->setChecked(false);
  h.Find<QCheckBox>("chkLargeWindow")->setChecked(true);
  Click(h.Find<QPushButton>("cmdQuit"));

  h.Start();
  QCOMPARE(h.Find<QLineEdit>("txbInputFile")->text(), page);
  QCOMPARE(h.Find<QLineEdit>("txbBeginMetaTagWith")->text(),
           QStringLiteral("web design, \"html\" tools"));
  QCOMPARE(h.Find<QLineEdit>("txbMaxNumKeywordsInMetaTag")->text(), QStringLiteral("75"));
  QCOMPARE(h.Find<QLineEdit>("txbMaxNumBytesInMetaTag")->text(), QStringLiteral("+9x"));
  for (int i = 0; i < 5; ++i) QCOMPARE(h.Find<QComboBox>(kLists[i])->currentIndex(), indexes[i]);
  QCOMPARE(h.Find<QCheckBox>("chkIgnoreShortWords")->checkState(), Qt::Unchecked);
  QCOMPARE(h.Find<QCheckBox>("chkIgnoreCommonWords")->checkState(), Qt::Unchecked);
  // "Large window" is not remembered.
  QCOMPARE(h.Find<QCheckBox>("chkLargeWindow")->checkState(), Qt::Unchecked);
  QCOMPARE(h.FocusName(), QStringLiteral("cmdGenerateKeywordMetaTag"));
}

void StateTest::fileHasTwelveLines() {
  WindowHarness h;
  const QString page = h.Page("page.html", SamplePage());
  h.Start();
  h.Find<QLineEdit>("txbInputFile")->setText(page);
  h.Find<QLineEdit>("txbBeginMetaTagWith")->setText("say \"hi\"");
  h.Window().close();
  QCOMPARE(h.ReadState(), ("\"" + page +
                           "\"\r\n\"say \"\"hi\"\"\"\r\n\"50\"\r\n\"500\"\r\n"
                           "2\r\n1\r\n1\r\n1\r\n2\r\n1\r\n1\r\n0\r\n")
                              .toStdString());
}

void StateTest::unusableFileGivesTheDefaults_data() {
  QTest::addColumn<QString>("lines");  // after the first line, which names an existing page
  QTest::newRow("ten lines") << "\"web\"\r\n\"75\"\r\n\"600\"\r\n3\r\n0\r\n2\r\n1\r\n4\r\n0\r\n";
  QTest::newRow("index 12")
      << "\"web\"\r\n\"75\"\r\n\"600\"\r\n12\r\n0\r\n2\r\n1\r\n4\r\n0\r\n0\r\n";
  QTest::newRow("index -2")
      << "\"web\"\r\n\"75\"\r\n\"600\"\r\n3\r\n-2\r\n2\r\n1\r\n4\r\n0\r\n0\r\n";
  QTest::newRow("table weight 10")
      << "\"web\"\r\n\"75\"\r\n\"600\"\r\n3\r\n0\r\n10\r\n1\r\n4\r\n0\r\n0\r\n";
  QTest::newRow("check value 3")
      << "\"web\"\r\n\"75\"\r\n\"600\"\r\n3\r\n0\r\n2\r\n1\r\n4\r\n0\r\n3\r\n";
  QTest::newRow("word for a number")
      << "\"web\"\r\n\"75\"\r\n\"600\"\r\nthree\r\n0\r\n2\r\n1\r\n4\r\n0\r\n0\r\n";
}

void StateTest::unusableFileGivesTheDefaults() {
  QFETCH(QString, lines);
  WindowHarness h;
  const QString page = h.Page("page.html", SamplePage());
  h.WriteState(("\"" + page + "\"\r\n" + lines).toStdString());
  h.Start();
  ExpectDefaults(h);
  QVERIFY(h.platform.messages.empty());
}

void StateTest::hostileFileGivesTheDefaults_data() {
  QTest::addColumn<QByteArray>("content");
  QTest::newRow("empty") << QByteArray();
  QTest::newRow("binary") << QByteArray("\x00\xff\xfe\r\n\x01\"\x00\"\r\n\x80\x81", 13);
  QTest::newRow("only quotes") << QByteArray(5000, '"');
  QTest::newRow("huge numbers") << QByteArray(
      "\"\"\r\n\"\"\r\n\"50\"\r\n\"500\"\r\n99999999999999999999\r\n1\r\n1\r\n1\r\n2\r\n"
      "1\r\n1\r\n");
  QByteArray many;
  for (int i = 0; i < 5000; ++i) many += "\"item\",";
  QTest::newRow("thousands of items") << many;
}

void StateTest::hostileFileGivesTheDefaults() {
  QFETCH(QByteArray, content);
  WindowHarness h;
  h.WriteState(std::string_view(content.constData(), static_cast<std::size_t>(content.size())));
  h.Start();
  ExpectDefaults(h);
  QVERIFY(h.platform.messages.empty());
}

void StateTest::failedWriteKeepsThePreviousFile() {
  WindowHarness h;
  const std::string previous = StateNaming("");
  h.WriteState(previous);
  MainWindow& w = h.Start();
  QSignalSpy ended(&w, &MainWindow::ended);
  h.Find<QLineEdit>("txbBeginMetaTagWith")->setText("changed");
  {
    const FailingWrites failing(h.Dir().Path());
    Click(h.Find<QPushButton>("cmdQuit"));
  }
  QCOMPARE(h.platform.messages.size(), std::size_t{1});
  const FakePlatform::Shown& shown = h.platform.messages[0];
  const QString prefix = "Error when attempting to save the state: ";
  QVERIFY2(shown.text.startsWith(prefix) && shown.text.size() > prefix.size(),
           qPrintable(shown.text));
  QCOMPARE(shown.title, QStringLiteral("Save state"));
  QVERIFY(shown.icon == MessageIcon::Exclamation);
  QCOMPARE(ended.count(), 1);  // the program still ends
  QCOMPARE(h.ReadState(), previous);
  QVERIFY(!std::filesystem::exists(h.Dir().Path() / "tgw.usr.new"));
}

void StateTest::writeIntoAMissingFolderFails() {
  FakePlatform platform;
  MainWindow w(platform, "/no/such/folder/tgw.usr");
  QSignalSpy ended(&w, &MainWindow::ended);
  w.Form_Load();
  w.close();
  QCOMPARE(platform.messages.size(), std::size_t{1});
  QVERIFY(platform.messages[0].text.startsWith("Error when attempting to save the state: "));
  QCOMPARE(ended.count(), 1);
}

void StateTest::resetKeepsTheTextsAndTheLargeWindow() {
  WindowHarness h;
  const QString page = h.Page("page.html", SamplePage());
  h.Start();
  h.Find<QLineEdit>("txbInputFile")->setText(page);
  h.Find<QPushButton>("cmdGenerateKeywordMetaTag")->click();
  QVERIFY(h.Window().AnalysisCurrent());
  h.Find<QLineEdit>("txbBeginMetaTagWith")->setText("web");
  h.Find<QLineEdit>("txbMaxNumKeywordsInMetaTag")->setText("7");
  h.Find<QLineEdit>("txbMaxNumBytesInMetaTag")->setText("");
  for (const char* list : kLists) h.Find<QComboBox>(list)->setCurrentIndex(0);
  h.Find<QCheckBox>("chkIgnoreShortWords")->setChecked(false);
  h.Find<QCheckBox>("chkIgnoreCommonWords")->setChecked(false);
  h.Find<QCheckBox>("chkLargeWindow")->setChecked(true);
  h.Find<QPushButton>("cmdGenerateKeywordMetaTag")->click();
  QVERIFY(h.Window().AnalysisCurrent());

  Click(h.Find<QPushButton>("cmdReset"));
  QCOMPARE(h.Find<QLineEdit>("txbInputFile")->text(), page);
  QCOMPARE(h.Find<QLineEdit>("txbBeginMetaTagWith")->text(), QStringLiteral("web"));
  h.Find<QLineEdit>("txbInputFile")->clear();
  h.Find<QLineEdit>("txbBeginMetaTagWith")->clear();
  ExpectDefaults(h);
  QCOMPARE(h.Find<QCheckBox>("chkLargeWindow")->checkState(), Qt::Checked);
  QVERIFY(!h.Window().AnalysisCurrent());
  QVERIFY(!std::filesystem::exists(h.StateFile().toStdString()));  // written at quit only
  // Reset invalidates the analysis even when no setting changes.
  h.Find<QLineEdit>("txbInputFile")->setText(page);
  h.Find<QPushButton>("cmdGenerateKeywordMetaTag")->click();
  QVERIFY(h.Window().AnalysisCurrent());
  Click(h.Find<QPushButton>("cmdReset"));
  QVERIFY(!h.Window().AnalysisCurrent());
}

}  // namespace tagwright::test

QTEST_MAIN(tagwright::test::StateTest)
#include "state_test.moc"
