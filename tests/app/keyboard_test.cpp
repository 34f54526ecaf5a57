// The main window by keyboard alone and for assistive technology: Tab and Shift+Tab, the
// mnemonics, Ctrl+Q, the links, and the accessible names and descriptions.

#include <QAbstractButton>
#include <QAccessible>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

#include <map>
#include <set>

#include "app/window_harness.h"
#include "help/help_text.h"

namespace tagwright::test {
namespace {

// The captions that carry a mnemonic, as the window designs them (without the mark).
const std::map<QString, QString> kCaptions = {
    {"cmdInputFile", "Input file"},
    {"cmdClearInputFile", "Clear"},
    {"chkIgnoreCommonWords", "Ignore common words"},
    {"chkIgnoreShortWords", "Ignore words with"},
    {"lblCharsOrLess", "characters or less"},
    {"cmdReset", "Reset"},
    {"lblBeginMetaTagWith", "Begin meta tag with:"},
    {"cmdClearBeginMetaTagWith", "Clear"},
    {"lblThresholdFrequency", "Min. frequency:"},
    {"lblExistingkeywordsWeight", "Existing keywords weight:"},
    {"cmdShowExistingKeywordMetaTag", "Show existing  keywords"},
    {"lblTableWeight", "Table weight:"},
    {"lblBoldWeight", "Bold weight:"},
    {"lblMaxNumKeywords", "Max. number of keywords in meta tag:"},
    {"cmdListWords", "List words"},
    {"lblMaxNumBytes", "Max. number of bytes in meta tag:"},
    {"chkLargeWindow", "Large window"},
    {"chkModernMarkup", "Modern markup"},
    {"cmdGenerateKeywordMetaTag", "Generate keywords meta tag"},
    {"cmdHelp", "Help"},
    {"cmdCopyToClipboard", "Copy to clipboard"},
    {"cmdQuit", "Quit"},
    {"cmdSaveReport", "Save report..."}};

QString Caption(const QWidget* control) {
  if (const auto* button = qobject_cast<const QAbstractButton*>(control)) return button->text();
  if (const auto* label = qobject_cast<const QLabel*>(control)) return label->text();
  return {};
}

// The letters that follow "&" in `caption`.
QString Mnemonics(const QString& caption) {
  QString letters;
  for (qsizetype i = caption.indexOf('&'); i >= 0 && i + 1 < caption.size();
       i = caption.indexOf('&', i + 2)) {
    letters += caption[i + 1].toLower();
  }
  return letters;
}

void PressOn(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
  QWidget* focus = QApplication::focusWidget();
  QVERIFY(focus != nullptr);
  QTest::keyClick(focus, static_cast<Qt::Key>(key), modifiers);
}

// Visits every accessible object below `node`, mapping the window's named controls to their
// accessible name and description.
void Walk(QAccessibleInterface* node, std::map<QString, std::pair<QString, QString>>& found) {
  if (node == nullptr) return;
  const QObject* object = node->object();
  if (object != nullptr && !object->objectName().isEmpty() && object->isWidgetType()) {
    found[object->objectName()] = {node->text(QAccessible::Name),
                                   node->text(QAccessible::Description)};
  }
  for (int i = 0; i < node->childCount(); ++i) Walk(node->child(i), found);
}

}  // namespace

class KeyboardTest : public QObject {
  Q_OBJECT
 private slots:
  void tabAndShiftTabVisitEveryControlAndTheLinks();
  void mnemonicsAreDistinctAndLeaveTheCaptions();
  void mnemonicsReachTheirControls();
  void linksFollowEnterAndSpace();
  void ctrlQQuits();
  void everyControlHasAnAccessibleNameAndDescription();
};

void KeyboardTest::tabAndShiftTabVisitEveryControlAndTheLinks() {
  WindowHarness h;
  h.Start();
  // A valid page in the box: leaving it by Tab must not send the focus elsewhere.
  h.Find<QLineEdit>("txbInputFile")->setText(h.Page("page.html", SamplePage()));
  h.Find<QLineEdit>("txbInputFile")->setFocus(Qt::OtherFocusReason);
  QStringList forward;
  for (qsizetype i = 0; i < kTabOrder.size(); ++i) {
    PressOn(Qt::Key_Tab);
    forward.append(h.FocusName());
  }
  QCOMPARE(forward, kTabOrder.mid(1) + kTabOrder.mid(0, 1));  // round to the start
  QStringList backward;
  for (qsizetype i = 0; i < kTabOrder.size(); ++i) {
    PressOn(Qt::Key_Backtab, Qt::ShiftModifier);
    backward.prepend(h.FocusName());
  }
  QCOMPARE(backward, kTabOrder);  // the same round, the other way
  QVERIFY(h.platform.messages.empty());
}

void KeyboardTest::mnemonicsAreDistinctAndLeaveTheCaptions() {
  WindowHarness h;
  h.Start();
  // "List words" reads "Stop" during a run; its letter must not clash either.
  std::set<QChar> letters{QChar('p')};
  for (const auto& [name, caption] : kCaptions) {
    const auto* control = h.Window().findChild<QWidget*>(name);
    QVERIFY2(control != nullptr, qPrintable(name));
    QString shown = Caption(control);
    const QString letter = Mnemonics(shown);
    QVERIFY2(letter.size() == 1, qPrintable(name + ": " + shown));
    QVERIFY2(letters.insert(letter[0]).second, qPrintable(name + " repeats " + letter));
    QCOMPARE(shown.remove('&'), caption);
    if (const auto* label = qobject_cast<const QLabel*>(control)) {
      QVERIFY2(label->buddy() != nullptr, qPrintable(name));
    }
  }
}

void KeyboardTest::mnemonicsReachTheirControls() {
  WindowHarness h;
  MainWindow& w = h.Start();
  const std::pair<Qt::Key, const char*> moves[] = {
      {Qt::Key_B, "txbBeginMetaTagWith"},        {Qt::Key_T, "cboTableWeight"},
      {Qt::Key_K, "txbMaxNumKeywordsInMetaTag"}, {Qt::Key_Y, "txbMaxNumBytesInMetaTag"},
      {Qt::Key_X, "cboExistingKeywordsWeight"},  {Qt::Key_O, "cboShortWordSize"}};
  for (const auto& [key, name] : moves) {
    PressOn(key, Qt::AltModifier);
    QCOMPARE(h.FocusName(), QString::fromLatin1(name));
  }
  // A check box's letter ticks it; a button's presses it.
  auto* modern = h.Find<QCheckBox>("chkModernMarkup");
  PressOn(Qt::Key_U, Qt::AltModifier);
  QTRY_VERIFY(modern->isChecked());
  h.Find<QLineEdit>("txbInputFile")->setText("something.html");
  PressOn(Qt::Key_E, Qt::AltModifier);
  QTRY_COMPARE(h.Find<QLineEdit>("txbInputFile")->text(), QString());
  QVERIFY(w.isVisible());
}

void KeyboardTest::linksFollowEnterAndSpace() {
  WindowHarness h;
  h.Start();
  h.Find<QLabel>("lblVeltrane")->setFocus(Qt::TabFocusReason);
  QCOMPARE(h.FocusName(), QStringLiteral("lblVeltrane"));
  PressOn(Qt::Key_Return);
  h.Find<QLabel>("lblOnlineDocumentation")->setFocus(Qt::TabFocusReason);
  PressOn(Qt::Key_Space);
  QCOMPARE(h.platform.openedUrls, (QStringList{QString::fromStdString(HomePageAddress()),
                                               QString::fromStdString(DocumentationAddress())}));
}

void KeyboardTest::ctrlQQuits() {
  WindowHarness h;
  MainWindow& w = h.Start();
  QSignalSpy ended(&w, &MainWindow::ended);
  h.Find<QLineEdit>("txbBeginMetaTagWith")->setText("kept by Ctrl+Q");
  PressOn(Qt::Key_Q, Qt::ControlModifier);
  QCOMPARE(ended.count(), 1);
  QVERIFY(!w.isVisible());
  QVERIFY(h.ReadState().find("\"kept by Ctrl+Q\"") != std::string::npos);
}

void KeyboardTest::everyControlHasAnAccessibleNameAndDescription() {
  WindowHarness h;
  MainWindow& w = h.Start();
  std::map<QString, std::pair<QString, QString>> found;
  Walk(QAccessible::queryAccessibleInterface(&w), found);
  for (const QWidget* control : w.findChildren<QWidget*>()) {
    const QString name = control->objectName();
    // Only the window's own controls carry names; the parts inside Qt's widgets do not.
    if (name.isEmpty() || name.startsWith("qt_")) continue;
    QVERIFY2(found.count(name) == 1, qPrintable(name + " is not in the accessible tree"));
    const auto& [accessibleName, description] = found[name];
    QVERIFY2(!accessibleName.isEmpty(), qPrintable(name + " has no accessible name"));
    QVERIFY2(!accessibleName.contains('&'), qPrintable(name + ": " + accessibleName));
    QVERIFY2(!description.isEmpty(), qPrintable(name + " has no accessible description"));
  }
  // The help window's controls too.
  h.Find<QPushButton>("cmdHelp")->click();
  QWidget* help = nullptr;
  for (QWidget* window : QApplication::topLevelWidgets()) {
    if (window->objectName() == "frmHelp") help = window;
  }
  QVERIFY(help != nullptr);
  std::map<QString, std::pair<QString, QString>> inHelp;
  Walk(QAccessible::queryAccessibleInterface(help), inHelp);
  for (const char* name : {"txbHelpScreen", "cmdClose"}) {
    QVERIFY2(!inHelp[name].first.isEmpty() && !inHelp[name].second.isEmpty(), name);
  }
  QCOMPARE(found["cmdListWords"].first, QStringLiteral("List words"));
  QCOMPARE(found["txbMetaTag"].first, QStringLiteral("Result"));
  QCOMPARE(found["lblNumberOfWords"].first, QStringLiteral("Number of words found"));
  // The word count is read out with the count.
  h.Find<QLineEdit>("txbInputFile")->setText(h.Page("page.html", SamplePage()));
  h.Find<QPushButton>("cmdListWords")->click();
  found.clear();
  Walk(QAccessible::queryAccessibleInterface(&w), found);
  QVERIFY(found["lblNumberOfWords"].first.startsWith("Number of words found: "));
}

}  // namespace tagwright::test

QTEST_MAIN(tagwright::test::KeyboardTest)
#include "keyboard_test.moc"
