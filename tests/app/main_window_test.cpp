// Start-up, the window's design, the focus rule and shutdown.

#include <QCheckBox>
#include <QComboBox>
#include <QFontInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

#include "app/window_geometry.h"
#include "app/window_harness.h"

namespace tagwright::test {

class MainWindowTest : public QObject {
  Q_OBJECT
 private slots:
  void firstStartShowsTheDefaults();
  void rememberedFileThatIsGoneIsDroppedSilently();
  void rememberedHtmlFileIsKept();
  void windowHasItsDesignedSizeAndPlaces();
  void bottomRowCentresCopyButton();
  void tabOrderFollowsTheDesign();
  void typeFacesAndColours();
  void quitSavesOnceAndEndsTheWindow();
  void closeBoxActsAsQuit();
};

void MainWindowTest::firstStartShowsTheDefaults() {
  WindowHarness h;
  MainWindow& w = h.Start();
  QCOMPARE(w.windowTitle(), QStringLiteral("Tagwright 1.0"));
  QCOMPARE(h.Find<QLineEdit>("txbInputFile")->text(), QString());
  QCOMPARE(h.Find<QLineEdit>("txbBeginMetaTagWith")->text(), QString());
  QCOMPARE(h.Find<QLineEdit>("txbMaxNumKeywordsInMetaTag")->text(), QStringLiteral("50"));
  QCOMPARE(h.Find<QLineEdit>("txbMaxNumBytesInMetaTag")->text(), QStringLiteral("500"));
  QCOMPARE(h.Find<QCheckBox>("chkIgnoreCommonWords")->checkState(), Qt::Checked);
  QCOMPARE(h.Find<QCheckBox>("chkIgnoreShortWords")->checkState(), Qt::Checked);
  QCOMPARE(h.Find<QCheckBox>("chkLargeWindow")->checkState(), Qt::Unchecked);
  const char* lists[] = {"cboShortWordSize", "cboThresholdFrequency", "cboTableWeight",
                         "cboExistingKeywordsWeight", "cboBoldWeight"};
  const QStringList shown = {"3", "2", "1", "1", "3"};
  for (int i = 0; i < 5; ++i) QCOMPARE(h.Find<QComboBox>(lists[i])->currentText(), shown[i]);
  QCOMPARE(h.Find<QComboBox>("cboShortWordSize")->count(), 9);
  QCOMPARE(h.Find<QComboBox>("cboTableWeight")->itemText(0), QStringLiteral("0"));
  QCOMPARE(h.Find<QPlainTextEdit>("txbMetaTag")->toPlainText(), QString());
  QCOMPARE(h.Find<QLabel>("lblNumberOfWords")->text(), QString());
  QCOMPARE(h.FocusName(), QStringLiteral("cmdInputFile"));
  QVERIFY(h.Find<QPushButton>("cmdCopyToClipboard")->isEnabled());
  QVERIFY(!w.AnalysisCurrent());
  QVERIFY(h.platform.messages.empty());
}

void MainWindowTest::rememberedFileThatIsGoneIsDroppedSilently() {
  WindowHarness h;
  const QString gone = h.Page("gone.html", "<p>x</p>");
  std::remove(gone.toStdString().c_str());
  h.WriteState(
      ("\"" + gone + "\"\r\n\"web\"\r\n\"75\"\r\n\"600\"\r\n3\r\n0\r\n2\r\n1\r\n4\r\n0\r\n1\r\n")
          .toStdString());
  h.Start();
  QCOMPARE(h.Find<QLineEdit>("txbInputFile")->text(), QString());
  // The rest of the state stands.
  QCOMPARE(h.Find<QLineEdit>("txbBeginMetaTagWith")->text(), QStringLiteral("web"));
  QCOMPARE(h.Find<QComboBox>("cboBoldWeight")->currentText(), QStringLiteral("5"));
  QCOMPARE(h.FocusName(), QStringLiteral("cmdInputFile"));
  QVERIFY(h.platform.messages.empty());
}

void MainWindowTest::rememberedHtmlFileIsKept() {
  WindowHarness h;
  const QString page = h.Page("page.html", SamplePage());
  h.WriteState(
      ("\"" + page + "\"\r\n\"\"\r\n\"50\"\r\n\"500\"\r\n2\r\n1\r\n1\r\n1\r\n2\r\n1\r\n1\r\n")
          .toStdString());
  h.Start();
  QCOMPARE(h.Find<QLineEdit>("txbInputFile")->text(), page);
  QCOMPARE(h.FocusName(), QStringLiteral("cmdGenerateKeywordMetaTag"));
}

void MainWindowTest::windowHasItsDesignedSizeAndPlaces() {
  WindowHarness h;
  MainWindow& w = h.Start();
  QCOMPARE(w.size(), QSize(630, 400));
  QCOMPARE(w.minimumSize(), w.maximumSize());  // the user cannot resize it
  QCOMPARE(h.Find<QLineEdit>("txbInputFile")->geometry(), QRect(105, 7, 466, 22));
  QCOMPARE(h.Find<QPlainTextEdit>("txbMetaTag")->geometry(), QRect(7, 203, 617, 141));
  QCOMPARE(h.Find<QWidget>("Frame1")->geometry(), QRect(7, 353, 617, 43));
  QCOMPARE(h.Find<QPushButton>("cmdQuit")->geometry(), QRect(560, 0, 57, 22));
  QCOMPARE(h.Find<QLineEdit>("txbMaxNumBytesInMetaTag")->maxLength(), 4);
  QCOMPARE(h.Find<QPushButton>("cmdShowExistingKeywordMetaTag")->text(),
           QStringLiteral("&Show existing  keywords"));
  QCOMPARE(h.Find<QLabel>("lblMaxNumKeywords")->text(),
           QStringLiteral("Max. number of &keywords in meta tag:"));
  QVERIFY(h.Find<QLabel>("lblMaxNumKeywords")->alignment() & Qt::AlignRight);
  // Every control lies inside the client area, and the buttons within the bottom row (its
  // links reach a pixel past its lower edge, as designed).
  for (const QWidget* control : w.findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
    if (control->isWindow() || control->objectName().isEmpty()) continue;
    QVERIFY2(w.rect().contains(control->geometry()), qPrintable(control->objectName()));
  }
  const QWidget* frame = h.Find<QWidget>("Frame1");
  for (const QWidget* control : frame->findChildren<QPushButton*>()) {
    QVERIFY2(frame->rect().contains(control->geometry()), qPrintable(control->objectName()));
  }
  // Centred on its screen when first shown.
  const QRect screen = w.screen()->availableGeometry();
  QVERIFY(qAbs(w.frameGeometry().center().x() - screen.center().x()) <= 1);
  QVERIFY(qAbs(w.frameGeometry().center().y() - screen.center().y()) <= 1);
}

void MainWindowTest::bottomRowCentresCopyButton() {
  QCOMPARE(CopyButtonLeft(9255, 0, 855, 2430, 855), 3413);
  // The gap of 2557.5 twips rounds to the even neighbour; an odd one rounds down too.
  QCOMPARE(CopyButtonLeft(9254, 0, 855, 2430, 855), 3412);
  WindowHarness h;
  h.Start();
  QCOMPARE(h.Find<QPushButton>("cmdCopyToClipboard")->x(), Px(3413));
}

void MainWindowTest::tabOrderFollowsTheDesign() {
  WindowHarness h;
  MainWindow& w = h.Start();
  const QStringList& expected = kTabOrder;
  QStringList order;
  QWidget* control = h.Find<QLineEdit>("txbInputFile");
  do {
    if ((control->focusPolicy() & Qt::TabFocus) && control->isVisibleTo(&w) &&
        !control->objectName().isEmpty()) {
      order.append(control->objectName());
    }
    control = control->nextInFocusChain();
  } while (control != h.Find<QLineEdit>("txbInputFile"));
  QCOMPARE(order, expected);
  // Tab walks the same way: from the result box to the first list.
  h.Find<QPlainTextEdit>("txbMetaTag")->setFocus(Qt::OtherFocusReason);
  QTest::keyClick(h.Find<QPlainTextEdit>("txbMetaTag"), Qt::Key_Tab);
  QCOMPARE(h.FocusName(), QStringLiteral("cboShortWordSize"));
}

void MainWindowTest::typeFacesAndColours() {
  WindowHarness h;
  MainWindow& w = h.Start();
  // The substitutes come from fonts-liberation; without it the window would still work but
  // not look as designed.
  const QFontInfo large(h.Find<QPushButton>("cmdInputFile")->font());
  QCOMPARE(large.family(), QStringLiteral("Liberation Sans"));
  QVERIFY(large.bold());
  QCOMPARE(large.pixelSize(), 13);
  const QFontInfo small(h.Find<QPushButton>("cmdQuit")->font());
  QCOMPARE(small.pixelSize(), 11);
  QVERIFY(small.bold());
  const QFontInfo typewriter(h.Find<QPlainTextEdit>("txbMetaTag")->font());
  QCOMPARE(typewriter.family(), QStringLiteral("Liberation Mono"));
  QVERIFY(!typewriter.bold());
  QCOMPARE(QFontInfo(h.Find<QLineEdit>("txbMaxNumKeywordsInMetaTag")->font()).pixelSize(), 11);

  const QColor green(192, 255, 192);
  QCOMPARE(w.palette().color(QPalette::Window), green);
  QVERIFY(w.autoFillBackground());
  QCOMPARE(h.Find<QCheckBox>("chkIgnoreCommonWords")->palette().color(QPalette::Window), green);
  for (const char* name : {"lblVeltrane", "lblOnlineDocumentation"}) {
    const QLabel* link = h.Find<QLabel>(name);
    QCOMPARE(link->palette().color(QPalette::WindowText), QColor(0, 0, 255));
    QVERIFY(link->font().underline());
    QVERIFY(!link->font().bold());
  }
}

void MainWindowTest::quitSavesOnceAndEndsTheWindow() {
  WindowHarness h;
  MainWindow& w = h.Start();
  QSignalSpy ended(&w, &MainWindow::ended);
  h.Find<QLineEdit>("txbBeginMetaTagWith")->setText("first");
  Click(h.Find<QPushButton>("cmdQuit"));
  QCOMPARE(ended.count(), 1);
  QVERIFY(!w.isVisible());
  QVERIFY(w.Ending());
  const std::string saved = h.ReadState();
  QVERIFY(saved.find("\"first\"") != std::string::npos);
  // Nothing runs after the end: no second save, no handler.
  h.Find<QLineEdit>("txbBeginMetaTagWith")->setText("second");
  h.Find<QLineEdit>("txbMaxNumKeywordsInMetaTag")->setText("75");
  h.Find<QPushButton>("cmdReset")->click();
  w.close();
  QCOMPARE(ended.count(), 1);
  QCOMPARE(h.ReadState(), saved);
  QCOMPARE(h.Find<QLineEdit>("txbMaxNumKeywordsInMetaTag")->text(), QStringLiteral("75"));
}

void MainWindowTest::closeBoxActsAsQuit() {
  WindowHarness h;
  MainWindow& w = h.Start();
  QSignalSpy ended(&w, &MainWindow::ended);
  h.Find<QComboBox>("cboTableWeight")->setCurrentIndex(7);
  QVERIFY(w.close());
  QCOMPARE(ended.count(), 1);
  QCOMPARE(
      h.ReadState(),
      std::string("\"\"\r\n\"\"\r\n\"50\"\r\n\"500\"\r\n2\r\n1\r\n7\r\n1\r\n2\r\n1\r\n1\r\n0\r\n"));
}

}  // namespace tagwright::test

QTEST_MAIN(tagwright::test::MainWindowTest)
#include "main_window_test.moc"
