// The analysis settings: the limit checks on leaving a box, what counts as leaving, the
// change handlers and the settings as the analysis reads them.

#include <QCheckBox>
#include <QComboBox>
#include <QFocusEvent>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTest>

#include "app/control_settings.h"
#include "app/window_harness.h"

namespace tagwright::test {
namespace {

// Puts the focus into a box (as a click would) and types `text` there.
void TypeInto(QLineEdit* box, const QString& text) {
  box->setFocus(Qt::MouseFocusReason);
  QCOMPARE(QApplication::focusWidget(), box);
  box->clear();
  QTest::keyClicks(box, text);
}

// The reasons of the focus-out events that a control receives.
class FocusOutRecorder : public QObject {
 public:
  explicit FocusOutRecorder(QWidget* control) { control->installEventFilter(this); }
  QList<Qt::FocusReason> reasons;

 protected:
  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() == QEvent::FocusOut)
      reasons.append(static_cast<QFocusEvent*>(event)->reason());
    return false;
  }
};

}  // namespace

class SettingsTest : public QObject {
  Q_OBJECT
 private slots:
  void limitBoxesAreCheckedOnLeaving_data();
  void limitBoxesAreCheckedOnLeaving();
  void anotherWindowTakingTheFocusIsNotLeaving();
  void popupTakingTheFocusIsNotLeaving();
  void messageThatTakesTheFocusDoesNotRepeatItself();
  void clickTurnedAwayByACheckIsNotCarriedOut();
  void settingChangesMoveTheFocus();
  void clearEmptiesOnlyThePhrases();
  void analysisReadsTheControls();
};

void SettingsTest::limitBoxesAreCheckedOnLeaving_data() {
  QTest::addColumn<QString>("box");
  QTest::addColumn<QString>("typed");
  QTest::addColumn<QString>("after");
  QTest::addColumn<QString>("message");
  const QString keywords = "txbMaxNumKeywordsInMetaTag";
  const QString bytes = "txbMaxNumBytesInMetaTag";
  const QString tooMany = "Maximum number of keywords in the meta tag is 100.";
  const QString tooFew = "Minimum number of keywords in the meta tag is 5.";
  QTest::newRow("100 stands") << keywords << "100"
                              << "100"
                              << "";
  QTest::newRow("5 stands") << keywords << "5"
                            << "5"
                            << "";
  QTest::newRow("101") << keywords << "101"
                       << "50" << tooMany;
  QTest::newRow("4") << keywords << "4"
                     << "50" << tooFew;
  QTest::newRow("0") << keywords << "0"
                     << "50" << tooFew;
  QTest::newRow("empty") << keywords << ""
                         << ""
                         << "";
  QTest::newRow("point removed") << keywords << "1.5"
                                 << "15"
                                 << "";
  QTest::newRow("letter removed") << keywords << "7x"
                                  << "7"
                                  << "";
  QTest::newRow("minus removed") << keywords << "-20"
                                 << "20"
                                 << "";
  QTest::newRow("plus kept") << keywords << "+20"
                             << "+20"
                             << "";
  QTest::newRow("inner plus removed") << keywords << "2+3"
                                      << "23"
                                      << "";
  QTest::newRow("no digits") << keywords << "abc"
                             << ""
                             << "";
  QTest::newRow("plus alone") << keywords << "+"
                              << "50" << tooFew;
  QTest::newRow("as many nines as fit") << keywords << "9999"
                                        << "50" << tooMany;
  QTest::newRow("1000 bytes") << bytes << "1000"
                              << "1000"
                              << "";
  QTest::newRow("1001 bytes") << bytes << "1001"
                              << "500"
                              << "Maximum number of bytes in the meta tag is 1000.";
  QTest::newRow("0 bytes") << bytes << "0"
                           << "0"
                           << "";
  QTest::newRow("3 bytes") << bytes << "3"
                           << "3"
                           << "";
  QTest::newRow("minus removed from bytes") << bytes << "-5"
                                            << "5"
                                            << "";
}

void SettingsTest::limitBoxesAreCheckedOnLeaving() {
  QFETCH(QString, box);
  QFETCH(QString, typed);
  QFETCH(QString, after);
  QFETCH(QString, message);
  WindowHarness h;
  h.Start();
  auto* limit = h.Find<QLineEdit>(box.toLatin1().constData());
  TypeInto(limit, typed);
  QTest::keyClick(limit, Qt::Key_Tab);
  QCOMPARE(limit->text(), after);
  if (message.isEmpty()) {
    QVERIFY(h.platform.messages.empty());
    QVERIFY(QApplication::focusWidget() != limit);
  } else {
    QCOMPARE(h.platform.MessageTexts(), QStringList{message});
    QCOMPARE(h.platform.messages[0].title, QString());  // the application's name shows
    QVERIFY(h.platform.messages[0].icon == MessageIcon::None);
    QCOMPARE(QApplication::focusWidget(), limit);
    QCOMPARE(limit->cursorPosition(), static_cast<int>(after.size()));
  }
}

void SettingsTest::anotherWindowTakingTheFocusIsNotLeaving() {
  WindowHarness h;
  MainWindow& w = h.Start();
  auto* limit = h.Find<QLineEdit>("txbMaxNumKeywordsInMetaTag");
  TypeInto(limit, "200");
  QWidget other;
  other.show();
  other.activateWindow();
  QVERIFY(QTest::qWaitForWindowActive(&other));
  QVERIFY(h.platform.messages.empty());
  QCOMPARE(limit->text(), QStringLiteral("200"));
  w.activateWindow();
  QVERIFY(QTest::qWaitForWindowActive(&w));
  QCOMPARE(QApplication::focusWidget(), limit);
  // Moving on within the window is leaving.
  QTest::keyClick(limit, Qt::Key_Tab);
  QCOMPARE(h.platform.messages.size(), std::size_t{1});
  QCOMPARE(limit->text(), QStringLiteral("50"));
}

void SettingsTest::popupTakingTheFocusIsNotLeaving() {
  WindowHarness h;
  MainWindow& w = h.Start();
  auto* limit = h.Find<QLineEdit>("txbMaxNumBytesInMetaTag");
  TypeInto(limit, "5000");
  // A context menu over the box takes the focus while it is open.
  QMenu menu(limit);
  FocusOutRecorder recorder(limit);
  menu.addAction(QStringLiteral("Select All"));
  menu.popup(limit->mapToGlobal(QPoint(2, 2)));
  QTRY_VERIFY(menu.isVisible());
  QTRY_COMPARE(recorder.reasons, QList<Qt::FocusReason>{Qt::PopupFocusReason});
  menu.close();
  QTRY_COMPARE(QApplication::focusWidget(), limit);
  QVERIFY(h.platform.messages.empty());
  QCOMPARE(limit->text(), QStringLiteral("5000"));
  QVERIFY(w.isActiveWindow());
  // Leaving it for another control is what checks it.
  QTest::keyClick(limit, Qt::Key_Tab);
  QCOMPARE(h.platform.MessageTexts(),
           QStringList{"Maximum number of bytes in the meta tag is 1000."});
}

void SettingsTest::messageThatTakesTheFocusDoesNotRepeatItself() {
  WindowHarness h;
  MainWindow& w = h.Start();
  QWidget box;  // stands for the modal message box, which is a window of its own
  h.platform.whileShown = [&](const FakePlatform::Shown&) {
    box.show();
    box.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&box));
    box.hide();
    w.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&w));
  };
  auto* input = h.Find<QLineEdit>("txbInputFile");
  TypeInto(input, "/no/such/page.html");
  QTest::keyClick(input, Qt::Key_Tab);
  QCOMPARE(h.platform.MessageTexts(), QStringList{"Input file does not exist."});
  auto* limit = h.Find<QLineEdit>("txbMaxNumBytesInMetaTag");
  TypeInto(limit, "5000");
  QTest::keyClick(limit, Qt::Key_Tab);
  QCOMPARE(h.platform.messages.size(), std::size_t{2});
  QCOMPARE(QApplication::focusWidget(), limit);
}

void SettingsTest::clickTurnedAwayByACheckIsNotCarriedOut() {
  WindowHarness h;
  h.Start();
  auto* limit = h.Find<QLineEdit>("txbMaxNumKeywordsInMetaTag");
  auto* generate = h.Find<QPushButton>("cmdGenerateKeywordMetaTag");
  TypeInto(limit, "200");
  Click(generate);
  // Only the limit speaks; the run ("Input file not specified.") does not start.
  QCOMPARE(h.platform.MessageTexts(),
           QStringList{"Maximum number of keywords in the meta tag is 100."});
  QCOMPARE(QApplication::focusWidget(), limit);
  // With a good value the click goes through.
  TypeInto(limit, "60");
  Click(generate);
  QCOMPARE(h.platform.MessageTexts().last(), QStringLiteral("Input file not specified."));
}

void SettingsTest::settingChangesMoveTheFocus() {
  WindowHarness h;
  h.Start();
  auto* phrases = h.Find<QLineEdit>("txbBeginMetaTagWith");
  phrases->setFocus(Qt::MouseFocusReason);
  h.Find<QCheckBox>("chkIgnoreShortWords")->setChecked(false);
  QCOMPARE(h.FocusName(), QStringLiteral("cmdInputFile"));
  h.Find<QLineEdit>("txbInputFile")->setText("/some/page.html");
  phrases->setFocus(Qt::MouseFocusReason);
  h.Find<QComboBox>("cboTableWeight")->setCurrentIndex(0);
  QCOMPARE(h.FocusName(), QStringLiteral("cmdGenerateKeywordMetaTag"));
}

void SettingsTest::clearEmptiesOnlyThePhrases() {
  WindowHarness h;
  h.Start();
  h.Find<QLineEdit>("txbBeginMetaTagWith")->setText("web design");
  h.Find<QLineEdit>("txbInputFile")->setText("page.html");
  auto* clear = h.Find<QPushButton>("cmdClearBeginMetaTagWith");
  Click(clear);
  QCOMPARE(h.Find<QLineEdit>("txbBeginMetaTagWith")->text(), QString());
  QCOMPARE(h.Find<QLineEdit>("txbInputFile")->text(), QStringLiteral("page.html"));
  QCOMPARE(QApplication::focusWidget(), clear);
}

void SettingsTest::analysisReadsTheControls() {
  WindowHarness h;
  // Hand-edited: no entry chosen in every list, "Ignore words with" greyed.
  h.WriteState("\"\"\r\n\"\"\r\n\"50\"\r\n\"500\"\r\n-1\r\n-1\r\n-1\r\n-1\r\n-1\r\n2\r\n0\r\n");
  h.Start();
  const ControlSettings settings(
      {h.Find<QCheckBox>("chkIgnoreCommonWords"), h.Find<QCheckBox>("chkIgnoreShortWords"),
       h.Find<QComboBox>("cboShortWordSize"), h.Find<QComboBox>("cboThresholdFrequency"),
       h.Find<QComboBox>("cboTableWeight"), h.Find<QComboBox>("cboExistingKeywordsWeight"),
       h.Find<QComboBox>("cboBoldWeight"), h.Find<QCheckBox>("chkModernMarkup")});
  QCOMPARE(h.Find<QComboBox>("cboBoldWeight")->currentIndex(), -1);
  QCOMPARE(h.Find<QCheckBox>("chkIgnoreShortWords")->checkState(), Qt::PartiallyChecked);
  // An unchosen list reads as its default; a greyed box as cleared.
  QCOMPARE(settings.ShortWordSize(), 3);
  QCOMPARE(settings.ThresholdFrequency(), 2);
  QCOMPARE(settings.TableWeight(), 1);
  QCOMPARE(settings.ExistingKeywordsWeight(), 1);
  QCOMPARE(settings.BoldWeight(), 3);
  QVERIFY(!settings.IgnoreShortWords());
  QVERIFY(!settings.IgnoreCommonWords());
  QVERIFY(!settings.ModernMarkup());
  // Each call reads the control as it is now.
  h.Find<QComboBox>("cboShortWordSize")->setCurrentIndex(8);
  h.Find<QComboBox>("cboTableWeight")->setCurrentIndex(0);
  h.Find<QComboBox>("cboBoldWeight")->setCurrentIndex(0);
  h.Find<QCheckBox>("chkIgnoreCommonWords")->setChecked(true);
  h.Find<QCheckBox>("chkModernMarkup")->setChecked(true);
  QVERIFY(settings.ModernMarkup());
  QCOMPARE(settings.ShortWordSize(), 9);
  QCOMPARE(settings.TableWeight(), 0);
  QCOMPARE(settings.BoldWeight(), 1);
  QVERIFY(settings.IgnoreCommonWords());
  // A click takes the greyed box out of its third state for good.
  auto* greyed = h.Find<QCheckBox>("chkIgnoreShortWords");
  Click(greyed);
  QCOMPARE(greyed->checkState(), Qt::Checked);
  Click(greyed);
  QCOMPARE(greyed->checkState(), Qt::Unchecked);
  Click(greyed);
  QCOMPARE(greyed->checkState(), Qt::Checked);
}

}  // namespace tagwright::test

QTEST_MAIN(tagwright::test::SettingsTest)
#include "settings_test.moc"
