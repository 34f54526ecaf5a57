// The input file: the dialog, typed paths and their checks, Clear and dropped files.

#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QUrl>

#include "app/window_harness.h"

namespace tagwright::test {
namespace {

// Runs "Generate keywords meta tag" on `page` so that the analysis is current.
void GenerateOn(WindowHarness& h, const QString& page) {
  h.Find<QLineEdit>("txbInputFile")->setText(page);
  h.Find<QPushButton>("cmdGenerateKeywordMetaTag")->click();
  QVERIFY(h.Window().AnalysisCurrent());
}

// Sends a drag of `files` and its drop to `target`; true when the drag was taken.
bool DropFiles(QWidget* target, const QList<QUrl>& files) {
  QMimeData data;
  data.setUrls(files);
  const QPoint middle = target->rect().center();
  QDragEnterEvent enter(middle, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
  QCoreApplication::sendEvent(target, &enter);
  if (!enter.isAccepted()) return false;
  QDropEvent drop(middle, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
  QCoreApplication::sendEvent(target, &drop);
  return drop.isAccepted();
}

}  // namespace

class InputFileTest : public QObject {
  Q_OBJECT
 private slots:
  void cancelledDialogChangesNothingButTheAnalysis();
  void chosenFileEmptiesTheOutputAndIsChecked();
  void typedPathsAreChecked_data();
  void typedPathsAreChecked();
  void enterTrimsTheBlanksAndMovesOn();
  void leavingTheBoxInvalidatesTheAnalysis();
  void clearEmptiesOnlyTheBox();
  void droppedFileIsTakenAsATypedPath();
};

void InputFileTest::cancelledDialogChangesNothingButTheAnalysis() {
  WindowHarness h;
  h.Start();
  const QString page = h.Page("page.html", SamplePage());
  GenerateOn(h, page);
  const QString result = h.Find<QPlainTextEdit>("txbMetaTag")->toPlainText();
  h.platform.dialogAnswer.clear();
  Click(h.Find<QPushButton>("cmdInputFile"));
  QCOMPARE(h.platform.dialogs, 1);
  QCOMPARE(h.platform.dialogTitle, QStringLiteral("Specify input file"));
  QCOMPARE(h.platform.dialogFilter, QStringLiteral("HTML files (*.htm *.html)"));
  QCOMPARE(h.Find<QLineEdit>("txbInputFile")->text(), page);
  QCOMPARE(h.Find<QPlainTextEdit>("txbMetaTag")->toPlainText(), result);
  QVERIFY(!h.Window().AnalysisCurrent());
}

void InputFileTest::chosenFileEmptiesTheOutputAndIsChecked() {
  WindowHarness h;
  h.Start();
  const QString page = h.Page("page.html", SamplePage());
  GenerateOn(h, page);
  const QString missing = h.Page("x.txt", "") + ".html";
  h.platform.dialogAnswer = missing;
  Click(h.Find<QPushButton>("cmdInputFile"));
  QCOMPARE(h.Find<QLineEdit>("txbInputFile")->text(), missing);
  QCOMPARE(h.Find<QPlainTextEdit>("txbMetaTag")->toPlainText(), QString());
  QCOMPARE(h.Find<QLabel>("lblNumberOfWords")->text(), QString());
  QCOMPARE(h.platform.messages.size(), std::size_t{1});
  QCOMPARE(h.platform.messages[0].text, QStringLiteral("Input file does not exist."));
  QCOMPARE(h.platform.messages[0].title, QStringLiteral("File not found"));
  QVERIFY(h.platform.messages[0].icon == MessageIcon::Exclamation);

  h.platform.dialogAnswer = page;
  Click(h.Find<QPushButton>("cmdInputFile"));
  QCOMPARE(h.platform.messages.size(), std::size_t{1});
  QCOMPARE(h.FocusName(), QStringLiteral("cmdGenerateKeywordMetaTag"));
}

void InputFileTest::typedPathsAreChecked_data() {
  QTest::addColumn<QString>("name");  // created in the test folder unless it says "missing"
  QTest::addColumn<QString>("message");
  QTest::addColumn<QString>("title");
  QTest::addColumn<bool>("exclamation");
  const QString form = "Invalid input file specification";
  const QString extension = "Input file must have .htm or .html extension.";
  QTest::newRow("upper case") << "page.HTML"
                              << ""
                              << "" << false;
  QTest::newRow("htm") << "page.htm"
                       << ""
                       << "" << false;
  QTest::newRow("shtml") << "page.shtml"
                         << ""
                         << "" << false;
  QTest::newRow("xhtml") << "page.xhtml"
                         << ""
                         << "" << false;
  QTest::newRow("txt") << "page.txt" << extension << "Invalid input" << false;
  QTest::newRow("hm") << "page.hm" << extension << "Invalid input" << false;
  QTest::newRow("point in folder") << "my.site/page" << form << "Invalid input" << true;
  QTest::newRow("no point") << "page" << form << "Invalid input" << true;
  QTest::newRow("missing") << "missing/gone.html"
                           << "Input file does not exist."
                           << "File not found" << true;
}

void InputFileTest::typedPathsAreChecked() {
  QFETCH(QString, name);
  QFETCH(QString, message);
  QFETCH(QString, title);
  QFETCH(bool, exclamation);
  WindowHarness h;
  h.Start();
  QString path = QString::fromStdString(h.Dir().Path().string()) + "/" + name;
  if (!name.startsWith("missing")) {
    std::filesystem::create_directories(std::filesystem::path(path.toStdString()).parent_path());
    path = h.Page(name.toStdString(), SamplePage());
  }
  auto* box = h.Find<QLineEdit>("txbInputFile");
  box->setFocus(Qt::MouseFocusReason);
  box->setText(path);
  QTest::keyClick(box, Qt::Key_Return);
  QCOMPARE(box->text(), path);  // a path that fails stays next to its message
  if (message.isEmpty()) {
    QVERIFY(h.platform.messages.empty());
  } else {
    QCOMPARE(h.platform.messages.size(), std::size_t{1});
    QCOMPARE(h.platform.messages[0].text, message);
    QCOMPARE(h.platform.messages[0].title, title);
    QCOMPARE(h.platform.messages[0].icon == MessageIcon::Exclamation, exclamation);
  }
  QCOMPARE(h.FocusName(), QStringLiteral("cmdGenerateKeywordMetaTag"));
}

void InputFileTest::enterTrimsTheBlanksAndMovesOn() {
  WindowHarness h;
  h.Start();
  const QString page = h.Page("page.html", SamplePage());
  auto* box = h.Find<QLineEdit>("txbInputFile");
  box->setFocus(Qt::MouseFocusReason);
  box->setText("  " + page + "  ");
  QTest::keyClick(box, Qt::Key_Enter);
  QCOMPARE(box->text(), page);
  QCOMPARE(h.FocusName(), QStringLiteral("cmdGenerateKeywordMetaTag"));
  // Only blanks: an empty box, no message, and the focus on "Input file".
  box->setFocus(Qt::MouseFocusReason);
  box->setText("   ");
  QTest::keyClick(box, Qt::Key_Enter);
  QCOMPARE(box->text(), QString());
  QCOMPARE(h.FocusName(), QStringLiteral("cmdInputFile"));
  QVERIFY(h.platform.messages.empty());
  // Leaving by Tab checks the box alike, but the focus goes on to the next control.
  box->setFocus(Qt::MouseFocusReason);
  box->setText("  " + page + "  ");
  QTest::keyClick(box, Qt::Key_Tab);
  QCOMPARE(box->text(), page);
  QCOMPARE(h.FocusName(), QStringLiteral("chkIgnoreShortWords"));
  // Other keys do nothing.
  box->setFocus(Qt::MouseFocusReason);
  QTest::keyClick(box, Qt::Key_A);
  QCOMPARE(h.FocusName(), QStringLiteral("txbInputFile"));
}

void InputFileTest::leavingTheBoxInvalidatesTheAnalysis() {
  WindowHarness h;
  h.Start();
  const QString page = h.Page("page.html", SamplePage());
  GenerateOn(h, page);
  const QString result = h.Find<QPlainTextEdit>("txbMetaTag")->toPlainText();
  auto* box = h.Find<QLineEdit>("txbInputFile");
  box->setFocus(Qt::MouseFocusReason);
  QTest::keyClick(box, Qt::Key_Tab);
  QVERIFY(!h.Window().AnalysisCurrent());
  // A typed path does not empty the output.
  QCOMPARE(h.Find<QPlainTextEdit>("txbMetaTag")->toPlainText(), result);
}

void InputFileTest::clearEmptiesOnlyTheBox() {
  WindowHarness h;
  h.Start();
  GenerateOn(h, h.Page("page.html", SamplePage()));
  const QString result = h.Find<QPlainTextEdit>("txbMetaTag")->toPlainText();
  h.Find<QPushButton>("cmdClearInputFile")->click();
  QCOMPARE(h.Find<QLineEdit>("txbInputFile")->text(), QString());
  QCOMPARE(h.Find<QPlainTextEdit>("txbMetaTag")->toPlainText(), result);
  QVERIFY(h.Window().AnalysisCurrent());
  QCOMPARE(h.FocusName(), QStringLiteral("cmdInputFile"));
}

void InputFileTest::droppedFileIsTakenAsATypedPath() {
  WindowHarness h;
  MainWindow& w = h.Start();
  const QString page = h.Page("page.html", SamplePage());
  auto* result = h.Find<QPlainTextEdit>("txbMetaTag");
  result->setPlainText("kept");
  // Dropped on the result box: the path goes to the input box, not into the text.
  QVERIFY(DropFiles(result->viewport(), {QUrl::fromLocalFile(page)}));
  QCOMPARE(h.Find<QLineEdit>("txbInputFile")->text(), page);
  QCOMPARE(result->toPlainText(), QStringLiteral("kept"));
  QCOMPARE(h.FocusName(), QStringLiteral("cmdGenerateKeywordMetaTag"));
  QVERIFY(h.platform.messages.empty());
  // Anywhere on the window, and checked as typed.
  const QString text = h.Page("notes.txt", "x");
  QVERIFY(DropFiles(&w, {QUrl::fromLocalFile(text)}));
  QCOMPARE(h.Find<QLineEdit>("txbInputFile")->text(), text);
  QCOMPARE(h.platform.MessageTexts(), QStringList{"Input file must have .htm or .html extension."});
  // Addresses that are not files are not taken.
  QVERIFY(!DropFiles(&w, {QUrl("https://example.org/page.html")}));
}

}  // namespace tagwright::test

QTEST_MAIN(tagwright::test::InputFileTest)
#include "input_file_test.moc"
