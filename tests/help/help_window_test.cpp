#include <QApplication>
#include <QFontInfo>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QTest>
#include <QTextBlock>

#include <memory>

#include "help/help_text.h"
#include "help/help_window.h"

using namespace tagwright;

namespace {

QPlainTextEdit* TextBox(QWidget* window) {
  return window->findChild<QPlainTextEdit*>(QStringLiteral("txbHelpScreen"));
}

QPushButton* CloseButton(QWidget* window) {
  return window->findChild<QPushButton*>(QStringLiteral("cmdClose"));
}

// Twips and pixels, 15 to one.
int Px(double twips) { return qRound(twips / 15.0); }
int Tw(int pixels) { return pixels * 15; }

// Runs the deletions that a title-bar close schedules.
void DeliverDeletes() { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }

}  // namespace

class HelpWindowTest : public QObject {
  Q_OBJECT
 private slots:
  void init();
  void cleanup();

  void opensInsideTheMainWindowsOutline();
  void showsTheHelpTextLineByLine();
  void looksAsDesigned();
  void layoutFollowsTheWindowSize();
  void tinyWindowGivesAnEmptyTextBox();
  void closeHidesAndKeepsTheWindow();
  void titleBarCloseDestroysAndHelpCreatesAfresh();
  void helpRestoresAMinimizedWindow();
  void helpBringsAVisibleWindowBack();
  void windowEndsWithTheMainWindow();

 private:
  std::unique_ptr<QWidget> main_;
  std::unique_ptr<HelpWindowHost> host_;
};

void HelpWindowTest::init() {
  // A plain widget stands in for the main window: 9450 x 6000 twips at (300, 120) pixels.
  main_ = std::make_unique<QWidget>();
  main_->setGeometry(300, 120, 630, 400);
  main_->show();
  QVERIFY(QTest::qWaitForWindowExposed(main_.get()));
  host_ = std::make_unique<HelpWindowHost>(main_.get());
}

void HelpWindowTest::cleanup() {
  host_.reset();
  main_.reset();
  DeliverDeletes();
}

void HelpWindowTest::opensInsideTheMainWindowsOutline() {
  QVERIFY(host_->Window() == nullptr);
  host_->ShowHelp();
  HelpWindow* help = host_->Window();
  QVERIFY(help != nullptr);
  QVERIFY(help->isVisible());
  QVERIFY(help->isWindow());
  QVERIFY(help->parentWidget() == nullptr);
  QVERIFY(!help->isModal());
  QCOMPARE(help->windowTitle(), QStringLiteral("Help screen for Tagwright"));

  // 200 twips in from the sides (13 px), 480 below the top (32 px), 200 above the bottom.
  const QRect outline = main_->frameGeometry();
  QCOMPARE(help->frameGeometry().topLeft(), outline.topLeft() + QPoint(13, 32));
  QCOMPARE(help->frameGeometry().size(), outline.size() - QSize(27, 45));

  // "Close" is centred and its top 800 twips (53 px) above the height of the window with
  // its frame; it holds the focus.
  QPushButton* close = CloseButton(help);
  QVERIFY(close != nullptr);
  QCOMPARE(close->text(), QStringLiteral("Close"));
  QCOMPARE(close->size(), QSize(81, 21));
  QCOMPARE(close->y(), Px(Tw(help->frameGeometry().height()) - 800));
  QCOMPARE(close->x(), Px((Tw(help->frameGeometry().width()) - 1215) / 2.0));
  QCOMPARE(help->focusWidget(), close);
  QVERIFY(TextBox(help)->focusPolicy() == Qt::ClickFocus);
}

void HelpWindowTest::showsTheHelpTextLineByLine() {
  host_->ShowHelp();
  QPlainTextEdit* text = TextBox(host_->Window());
  QVERIFY(text != nullptr);
  const QStringList lines = QString::fromStdString(HelpText()).split(QStringLiteral("\r\n"));
  QCOMPARE(text->blockCount(), lines.size());
  for (int i = 0; i < text->blockCount(); ++i) {
    QCOMPARE(text->document()->findBlockByNumber(i).text(), lines[i]);
  }
  QVERIFY(text->toPlainText().contains(QString::fromStdString(DocumentationAddress())));

  // Read-only: typing changes nothing, but the text can still be selected.
  const QString before = text->toPlainText();
  text->setFocus();
  QTest::keyClicks(text, QStringLiteral("xyz"));
  QCOMPARE(text->toPlainText(), before);
  QVERIFY(text->isReadOnly());
  QVERIFY(text->textInteractionFlags() & Qt::TextSelectableByMouse);
}

void HelpWindowTest::looksAsDesigned() {
  host_->ShowHelp();
  HelpWindow* help = host_->Window();
  QPlainTextEdit* text = TextBox(help);
  QCOMPARE(help->palette().color(QPalette::Window), QColor(224, 224, 224));
  QVERIFY(help->autoFillBackground());
  QCOMPARE(text->palette().color(QPalette::Base), QColor(Qt::white));
  // 9.75 points at 96 dpi, kept in pixels as the window's measures are.
  QCOMPARE(QFontInfo(text->font()).pixelSize(), 13);
  QVERIFY(!text->font().bold());
  QCOMPARE(QFontInfo(CloseButton(help)->font()).pixelSize(), 13);
  QCOMPARE(QFontInfo(CloseButton(help)->font()).family(), QStringLiteral("Liberation Sans"));
  QVERIFY(CloseButton(help)->font().bold());
  QCOMPARE(text->lineWrapMode(), QPlainTextEdit::WidgetWidth);
  QCOMPARE(text->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
  QVERIFY(text->verticalScrollBarPolicy() != Qt::ScrollBarAlwaysOff);
}

void HelpWindowTest::layoutFollowsTheWindowSize() {
  host_->ShowHelp();
  HelpWindow* help = host_->Window();
  QPlainTextEdit* text = TextBox(help);
  QPushButton* close = CloseButton(help);
  // The rules measure the window with its frame; the offscreen desktop gives it one.
  const QSize frame = help->frameGeometry().size() - help->size();
  if (frame.isNull()) QSKIP("the desktop gives windows no frame");

  for (const QSize size : {QSize(450, 300), QSize(700, 520)}) {
    help->resize(size);
    QTRY_COMPARE(help->size(), size);
    const QSize outer = size + frame;
    QCOMPARE(text->geometry(),
             QRect(8, 8, Px(Tw(outer.width()) - 350), Px(Tw(outer.height()) - 1080)));
    QCOMPARE(close->pos(),
             QPoint(Px((Tw(outer.width()) - 1215) / 2.0), Px(Tw(outer.height()) - 800)));
  }
  // With the 4-pixel frame: 454 x 304 px = 6810 x 4560 twips, so a box of 6460 x 3480
  // twips and "Close" at 2797.5, 3760.
  if (frame == QSize(4, 4)) {
    help->resize(450, 300);
    QTRY_COMPARE(help->size(), QSize(450, 300));
    QCOMPARE(text->geometry(), QRect(8, 8, 431, 232));
    QCOMPARE(close->pos(), QPoint(187, 251));
  }

  // The text wraps anew at the box's width: narrower means more visual lines.
  help->resize(300, 520);
  QTRY_COMPARE(text->width(), Px(Tw(300 + frame.width()) - 350));
  const int narrowHeight = qRound(text->document()->size().height());
  help->resize(700, 520);
  QTRY_COMPARE(text->width(), Px(Tw(700 + frame.width()) - 350));
  QVERIFY(text->document()->size().height() < narrowHeight);
}

void HelpWindowTest::tinyWindowGivesAnEmptyTextBox() {
  host_->ShowHelp();
  HelpWindow* help = host_->Window();
  help->resize(10, 50);  // with its frame, still below 350 twips wide and 1080 high
  QTRY_COMPARE(help->size(), QSize(10, 50));
  QCOMPARE(TextBox(help)->size(), QSize(0, 0));
}

void HelpWindowTest::closeHidesAndKeepsTheWindow() {
  host_->ShowHelp();
  QPointer<HelpWindow> help = host_->Window();
  help->move(40, 50);
  help->resize(500, 350);
  QTRY_COMPARE(help->size(), QSize(500, 350));
  TextBox(help)->moveCursor(QTextCursor::End);
  const QPoint where = help->pos();

  QTest::mouseClick(CloseButton(help), Qt::LeftButton);
  QVERIFY(!help->isVisible());
  DeliverDeletes();
  QVERIFY(help != nullptr);
  QCOMPARE(host_->Window(), help.data());

  host_->ShowHelp();
  QCOMPARE(host_->Window(), help.data());
  QVERIFY(help->isVisible());
  QCOMPARE(help->pos(), where);
  QCOMPARE(help->size(), QSize(500, 350));
  QVERIFY(TextBox(help)->textCursor().atEnd());

  // Enter on the focused "Close" hides it the same way.
  QTest::keyClick(CloseButton(help), Qt::Key_Return);
  QVERIFY(!help->isVisible());
  QCOMPARE(host_->Window(), help.data());
}

void HelpWindowTest::titleBarCloseDestroysAndHelpCreatesAfresh() {
  host_->ShowHelp();
  QPointer<HelpWindow> first = host_->Window();
  first->move(10, 10);
  first->resize(200, 200);

  QVERIFY(first->close());
  DeliverDeletes();
  QVERIFY(first == nullptr);
  QVERIFY(host_->Window() == nullptr);

  // Placed again relative to where the main window is now.
  main_->move(150, 90);
  QTRY_COMPARE(main_->pos(), QPoint(150, 90));
  host_->ShowHelp();
  HelpWindow* second = host_->Window();
  QVERIFY(second != nullptr);
  QVERIFY(second->isVisible());
  const QRect outline = main_->frameGeometry();
  QCOMPARE(second->frameGeometry().topLeft(), outline.topLeft() + QPoint(13, 32));
  QCOMPARE(second->frameGeometry().size(), outline.size() - QSize(27, 45));
}

void HelpWindowTest::helpRestoresAMinimizedWindow() {
  host_->ShowHelp();
  QPointer<HelpWindow> help = host_->Window();
  help->showMinimized();
  QTRY_VERIFY(help->isMinimized());

  host_->ShowHelp();
  QTRY_VERIFY(!help->isMinimized());
  QCOMPARE(host_->Window(), help.data());
  QVERIFY(help->isVisible());
}

void HelpWindowTest::helpBringsAVisibleWindowBack() {
  host_->ShowHelp();
  QPointer<HelpWindow> help = host_->Window();
  const QRect geometry = help->geometry();
  host_->ShowHelp();
  QCOMPARE(host_->Window(), help.data());
  QCOMPARE(help->geometry(), geometry);
  QVERIFY(help->isVisible());
}

void HelpWindowTest::windowEndsWithTheMainWindow() {
  host_->ShowHelp();
  QPointer<HelpWindow> help = host_->Window();
  host_.reset();
  main_.reset();
  QVERIFY(help == nullptr);
}

QTEST_MAIN(HelpWindowTest)
#include "help_window_test.moc"
