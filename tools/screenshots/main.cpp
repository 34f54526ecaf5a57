// Shows the real main window, runs the sample page through it and saves the main window, the
// word list and the help window as PNG files for the user manual. Needs a real X display
// (scripts/screenshots.sh runs it under xvfb-run); the user's own state file is not touched.

#include <QApplication>
#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QPixmap>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QTemporaryDir>
#include <QTimer>
#include <QUrl>

#include <cstdio>
#include <cstdlib>

#include "app/main_window.h"
#include "app/platform.h"
#include "help/help_text.h"

namespace {

using tagwright::MessageIcon;

// Answers the window's questions without dialogs, so that nothing waits for a click.
class ScriptedPlatform final : public tagwright::Platform {
 public:
  void ShowMessage(const QString& text, const QString& title, MessageIcon) override {
    std::fprintf(stderr, "message: %s: %s\n", qPrintable(title), qPrintable(text));
    ++messages;
  }
  QString OpenFileDialog(const QString&, const QString&) override { return {}; }
  QString SaveFileDialog(const QString&, const QString&, const QString&) override { return {}; }
  void SetClipboardText(const QString&) override {}
  bool OpenUrl(const QString&) override { return true; }
  int ScreenHeightTwips() const override {
    return QGuiApplication::primaryScreen()->geometry().height() * 15;
  }
  int messages = 0;
};

// Lets the windows paint (and the X server catch up) before a picture is taken.
void Settle(int milliseconds = 400) {
  QEventLoop loop;
  QTimer::singleShot(milliseconds, &loop, &QEventLoop::quit);
  loop.exec();
}

template <typename T>
T* Child(const QWidget& window, const char* name) {
  T* child = window.findChild<T*>(QString::fromLatin1(name));
  if (child == nullptr) {
    std::fprintf(stderr, "no control %s\n", name);
    std::exit(1);
  }
  return child;
}

// Saves what the screen shows inside `outline`, in screen coordinates.
bool Shoot(const QRect& outline, const QDir& folder, const char* name) {
  const QPixmap picture = QGuiApplication::primaryScreen()->grabWindow(
      0, outline.x(), outline.y(), outline.width(), outline.height());
  const QString path = folder.filePath(QString::fromLatin1(name));
  if (picture.isNull() || !picture.save(path, "PNG")) {
    std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
    return false;
  }
  std::printf("%s\n", qPrintable(path));
  return true;
}

QWidget* VisibleHelpWindow() {
  for (QWidget* top : QApplication::topLevelWidgets()) {
    if (top->objectName() == QLatin1String("frmHelp") && top->isVisible()) return top;
  }
  std::fprintf(stderr, "the help window did not open\n");
  std::exit(1);
}

// The help text names the manual where this build finds it, a folder of the machine that took
// the pictures; the picture shows instead where an installed program finds it.
void ShowInstalledManualAddress(const QWidget& help) {
  auto* text = Child<QPlainTextEdit>(help, "txbHelpScreen");
  const QString here = QString::fromStdString(tagwright::DocumentationAddress());
  const QString installed =
      QUrl::fromLocalFile(QStringLiteral("/usr/share/doc/tagwright/manual.html")).toString();
  QString shown = text->toPlainText();
  if (!shown.contains(here)) {
    std::fprintf(stderr, "the help text does not name %s\n", qPrintable(here));
    std::exit(1);
  }
  text->setPlainText(shown.replace(here, installed));
}

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("Tagwright"));
  if (argc != 3) {
    std::fprintf(stderr, "usage: %s SAMPLE_PAGE IMAGE_FOLDER\n", argv[0]);
    return 2;
  }
  if (QGuiApplication::platformName() != QLatin1String("xcb")) {
    std::fprintf(stderr, "needs an X display (run it under xvfb-run)\n");
    return 2;
  }
  const QFileInfo sample(QString::fromLocal8Bit(argv[1]));
  const QDir folder(QString::fromLocal8Bit(argv[2]));
  if (!sample.exists() || !QDir().mkpath(folder.path())) {
    std::fprintf(stderr, "no page %s or no folder %s\n", argv[1], argv[2]);
    return 2;
  }
  // The page goes where a user's own page might be, so the pictures show a plain path.
  const QString site = QDir::temp().filePath(QStringLiteral("my-website"));
  const QString page = site + QStringLiteral("/sample-page.html");
  QDir().mkpath(site);
  QFile::remove(page);
  if (!QFile::copy(sample.absoluteFilePath(), page)) {
    std::fprintf(stderr, "cannot copy the page to %s\n", qPrintable(page));
    return 2;
  }

  // A state file of its own: the window starts with the default settings.
  QTemporaryDir stateFolder;
  ScriptedPlatform platform;
  tagwright::MainWindow window(platform, stateFolder.filePath(QStringLiteral("tgw.usr")));
  window.Form_Load();
  Settle();

  Child<QLineEdit>(window, "txbInputFile")->setText(QDir::toNativeSeparators(page));
  Child<QPushButton>(window, "cmdGenerateKeywordMetaTag")->click();
  Settle();
  bool saved = Shoot(window.frameGeometry(), folder, "main-window.png");

  Child<QPushButton>(window, "cmdHelp")->click();
  Settle();
  QWidget* help = VisibleHelpWindow();
  ShowInstalledManualAddress(*help);
  Settle();
  saved = Shoot(window.frameGeometry().united(help->frameGeometry()), folder, "help-window.png") &&
          saved;

  // "Close" hides the help window again; the word list comes from the same reading.
  Child<QPushButton>(*help, "cmdClose")->click();
  Child<QPushButton>(window, "cmdListWords")->click();
  Settle();
  saved = Shoot(window.frameGeometry(), folder, "word-list.png") && saved;

  QFile::remove(page);
  QDir().rmdir(site);
  return saved && platform.messages == 0 ? 0 : 1;
}
