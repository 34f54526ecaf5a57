// "Large window", "Copy to clipboard", the two links, "Help" and the F1 key.

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

#include "app/window_geometry.h"
#include "app/window_harness.h"
#include "help/help_text.h"

namespace tagwright::test {
namespace {

// The help window, when one is shown.
QWidget* ShownHelp() {
  for (QWidget* window : QApplication::topLevelWidgets()) {
    if (window->objectName() == QLatin1String("frmHelp") && window->isVisible()) return window;
  }
  return nullptr;
}

void HideHelp() {
  if (QWidget* help = ShownHelp()) help->hide();
}

}  // namespace

class ConveniencesTest : public QObject {
  Q_OBJECT
 private slots:
  void largeWindowOnA768PixelScreen();
  void clearedLargeWindowIsCentredAgain();
  void copyLeavesOutTheStatistics();
  void linksOpenTheirAddresses();
  void helpOpensFromTheButtonAndF1();
};

void ConveniencesTest::largeWindowOnA768PixelScreen() {
  QCOMPARE(LargeWindowHeight(11520), 10368);
  const ResultArea area = ResultAreaFor(10368);
  QCOMPARE(area.metaTagHeight, 6123);
  QCOMPARE(area.frameTop, 9273);

  WindowHarness h;
  h.platform.screenHeightTwips = 11520;
  MainWindow& w = h.Start();
  const QRect before = w.frameGeometry();
  const QRect resultBefore = h.Find<QPlainTextEdit>("txbMetaTag")->geometry();
  h.Find<QLineEdit>("txbBeginMetaTagWith")->setFocus(Qt::MouseFocusReason);
  Click(h.Find<QCheckBox>("chkLargeWindow"));
  QCOMPARE(w.frameGeometry().top(), Px(300));
  QCOMPARE(w.frameGeometry().height(), Px(10368));
  QCOMPARE(w.frameGeometry().left(), before.left());
  QCOMPARE(w.frameGeometry().width(), before.width());
  const QRect result = h.Find<QPlainTextEdit>("txbMetaTag")->geometry();
  QCOMPARE(result.height(), Px(6123));
  QCOMPARE(result.topLeft(), resultBefore.topLeft());
  QCOMPARE(result.width(), resultBefore.width());
  QCOMPARE(h.Find<QWidget>("Frame1")->y(), Px(9273));
  QVERIFY(w.rect().contains(h.Find<QWidget>("Frame1")->geometry()));
  QCOMPARE(h.FocusName(), QStringLiteral("cmdInputFile"));
}

void ConveniencesTest::clearedLargeWindowIsCentredAgain() {
  WindowHarness h;
  h.platform.screenHeightTwips = 11520;
  MainWindow& w = h.Start();
  const int normalHeight = w.height();
  auto* large = h.Find<QCheckBox>("chkLargeWindow");
  Click(large);
  w.move(50, 100);  // the user moved it
  Click(large);
  QCOMPARE(w.height(), normalHeight);
  const int outer = Twips(w.frameGeometry().height());
  QCOMPARE(w.frameGeometry().top(), Px((11520 - outer) / 2.0));
  QCOMPARE(w.frameGeometry().left(), 50);
  const ResultArea area = ResultAreaFor(outer);
  QCOMPARE(h.Find<QPlainTextEdit>("txbMetaTag")->height(), Px(area.metaTagHeight));
  QCOMPARE(h.Find<QWidget>("Frame1")->y(), Px(area.frameTop));
}

void ConveniencesTest::copyLeavesOutTheStatistics() {
  WindowHarness h;
  h.Start();
  h.Find<QLineEdit>("txbInputFile")->setText(h.Page("page.html", SamplePage()));
  auto* copy = h.Find<QPushButton>("cmdCopyToClipboard");
  auto* result = h.Find<QPlainTextEdit>("txbMetaTag");
  h.Find<QPushButton>("cmdGenerateKeywordMetaTag")->click();
  Click(copy);
  const QString tagLine = result->toPlainText().section('\n', 0, 0);
  QVERIFY(tagLine.startsWith("<META NAME=\"keywords\" CONTENT=\""));
  // Lines end in LF, as editors on this desktop expect.
  QCOMPARE(h.platform.clipboard.last(), tagLine + "\n\n");
  QCOMPARE(h.FocusName(), QStringLiteral("cmdGenerateKeywordMetaTag"));

  h.Find<QPushButton>("cmdListWords")->click();
  Click(copy);
  QCOMPARE(h.platform.clipboard.last(), result->toPlainText());
  QVERIFY(!h.platform.clipboard.last().contains('\r'));

  result->setPlainText(
      "edited\nNumber of keywords in meta tag twice: Number of keywords in meta tag");
  Click(copy);
  QCOMPARE(h.platform.clipboard.last(), QStringLiteral("edited\n"));
  result->setPlainText("number of keywords in meta tag");  // the phrase is matched with its case
  Click(copy);
  QCOMPARE(h.platform.clipboard.last(), QStringLiteral("number of keywords in meta tag"));
  result->setPlainText("Number of keywords in meta tag: 3");
  Click(copy);
  QCOMPARE(h.platform.clipboard.last(), QString());
}

void ConveniencesTest::linksOpenTheirAddresses() {
  WindowHarness h;
  h.Start();
  Click(h.Find<QLabel>("lblVeltrane"));
  Click(h.Find<QLabel>("lblOnlineDocumentation"));
  QCOMPARE(h.platform.openedUrls, (QStringList{QString::fromStdString(HomePageAddress()),
                                               QString::fromStdString(DocumentationAddress())}));
  QVERIFY(h.platform.messages.empty());
  h.platform.browserStarts = false;
  Click(h.Find<QLabel>("lblOnlineDocumentation"));
  QCOMPARE(h.platform.messages.size(), std::size_t{1});
  QCOMPARE(h.platform.messages[0].text,
           QStringLiteral("Error launching web browser. Please make sure that your web browser "
                          "is correctly installed and configured"));
  QCOMPARE(h.platform.messages[0].title, QString());
  QVERIFY(h.platform.messages[0].icon == MessageIcon::Exclamation);
}

void ConveniencesTest::helpOpensFromTheButtonAndF1() {
  WindowHarness h;
  h.Start();
  QVERIFY(ShownHelp() == nullptr);
  Click(h.Find<QPushButton>("cmdHelp"));
  QVERIFY(ShownHelp() != nullptr);
  for (const char* button : {"cmdShowExistingKeywordMetaTag", "cmdGenerateKeywordMetaTag"}) {
    HideHelp();
    QTest::keyClick(h.Find<QPushButton>(button), Qt::Key_F1);
    QVERIFY2(ShownHelp() != nullptr, button);
  }
  HideHelp();
  QTest::keyClick(h.Find<QPushButton>("cmdHelp"), Qt::Key_F1, Qt::ShiftModifier);
  QVERIFY(ShownHelp() != nullptr);
  // Nowhere else.
  HideHelp();
  QTest::keyClick(h.Find<QLineEdit>("txbBeginMetaTagWith"), Qt::Key_F1);
  QTest::keyClick(h.Find<QComboBox>("cboBoldWeight"), Qt::Key_F1);
  QTest::keyClick(h.Find<QPushButton>("cmdQuit"), Qt::Key_F1);
  QTest::keyClick(h.Find<QPushButton>("cmdGenerateKeywordMetaTag"), Qt::Key_F2);
  QVERIFY(ShownHelp() == nullptr);
}

}  // namespace tagwright::test

QTEST_MAIN(tagwright::test::ConveniencesTest)
#include "conveniences_test.moc"
