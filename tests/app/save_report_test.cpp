// "Save report...": where it stands, what it asks, and the report it writes.

#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <filesystem>

#include "app/window_harness.h"
#include "support/temp_dir.h"

namespace tagwright::test {
namespace {

class SaveReportTest : public QObject {
  Q_OBJECT

 private slots:
  void standsBetweenCopyAndQuitWithoutMovingThem();
  void asksForARunFirst();
  void writesTheReportOfThePageWhereTheDialogSays();
  void cancelledDialogWritesNothing();
};

void SaveReportTest::standsBetweenCopyAndQuitWithoutMovingThem() {
  WindowHarness h;
  h.Start();
  const QRect save = h.Find<QPushButton>("cmdSaveReport")->geometry();
  const QRect copy = h.Find<QPushButton>("cmdCopyToClipboard")->geometry();
  const QRect quit = h.Find<QPushButton>("cmdQuit")->geometry();
  QCOMPARE(h.Find<QPushButton>("cmdSaveReport")->text().remove('&'),
           QStringLiteral("Save report..."));
  QVERIFY(save.left() > copy.right());
  QVERIFY(save.right() < quit.left());
  QCOMPARE(save.top(), copy.top());
  // The documented places: Quit at the frame's right end, Copy midway between Help and Quit.
  QCOMPARE(quit.left(), qRound(8400 / 15.0));
  QCOMPARE(copy.left(), qRound(3413 / 15.0));
}

void SaveReportTest::asksForARunFirst() {
  WindowHarness h;
  h.Start();
  h.Find<QLineEdit>("txbInputFile")->setText(h.Page("page.html", SamplePage()));
  Click(h.Find<QPushButton>("cmdSaveReport"));
  QCOMPARE(h.platform.MessageTexts(),
           QStringList{"Run \"List words\" or \"Generate keywords meta tag\" first."});
  QCOMPARE(h.platform.saveDialogs, 0);
}

void SaveReportTest::writesTheReportOfThePageWhereTheDialogSays() {
  WindowHarness h;
  h.Start();
  const QString page = h.Page("garden.html", SamplePage());
  h.Find<QLineEdit>("txbInputFile")->setText(page);
  Click(h.Find<QPushButton>("cmdGenerateKeywordMetaTag"));
  QVERIFY(h.Window().AnalysisCurrent());
  std::filesystem::create_directory(h.Dir().Path() / "reports");
  const std::string target = (h.Dir().Path() / "reports" / "garden-report.html").string();
  h.platform.saveAnswer = QString::fromStdString(target);
  Click(h.Find<QPushButton>("cmdSaveReport"));
  QCOMPARE(h.platform.saveDialogs, 1);
  QCOMPARE(h.platform.saveSuggested,
           QString::fromStdString((h.Dir().Path() / "garden-report.html").string()));
  QCOMPARE(h.platform.MessageTexts(), QStringList{});
  const std::string html = ReadFile(target);
  QVERIFY(html.find("id=\"count-pages\">1<") != std::string::npos);
  QVERIFY(html.find("Garden Tools") != std::string::npos);
  // The page is linked from the report's folder.
  QVERIFY(html.find("\"../garden.html\"") != std::string::npos);
}

void SaveReportTest::cancelledDialogWritesNothing() {
  WindowHarness h;
  h.Start();
  h.Find<QLineEdit>("txbInputFile")->setText(h.Page("garden.html", SamplePage()));
  Click(h.Find<QPushButton>("cmdListWords"));
  h.platform.saveAnswer = QString();
  Click(h.Find<QPushButton>("cmdSaveReport"));
  QCOMPARE(h.platform.saveDialogs, 1);
  QCOMPARE(h.platform.MessageTexts(), QStringList{});
  QVERIFY(!std::filesystem::exists(h.Dir().Path() / "garden-report.html"));
}

}  // namespace
}  // namespace tagwright::test

QTEST_MAIN(tagwright::test::SaveReportTest)
#include "save_report_test.moc"
