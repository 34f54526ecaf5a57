#include <QApplication>
#include <QStandardPaths>

#include <cstdio>
#include <cstdlib>

#include "app/main_window.h"
#include "app/qt_platform.h"
#include "app/shutdown.h"
#include "app/start_up.h"
#include "app/state_location.h"

int main(int argc, char* argv[]) {
  tagwright::SetProgramNames();
  // The arguments are read before the window system is asked for: --help needs no desktop.
  QString page;
  {
    const QCoreApplication reader(argc, argv);
    page = tagwright::ReadCommandLine(QCoreApplication::arguments());
  }

  // Said plainly, before Qt would abort for want of a platform plugin.
  if (tagwright::GraphicalDisplayMissing()) {
    std::fputs("tagwright: needs a graphical display; tagwright-cli works without one\n", stderr);
    return EXIT_FAILURE;
  }

  QApplication app(argc, argv);
  QApplication::setWindowIcon(tagwright::ProgramIcon(QCoreApplication::applicationDirPath()));
  // Lets Wayland desktops match the window to its desktop entry and icon.
  QGuiApplication::setDesktopFileName(QStringLiteral("org.tagwright.Tagwright"));
  tagwright::QtPlatform platform;
  tagwright::MainWindow window(
      platform, tagwright::StateFilePath(
                    QCoreApplication::applicationDirPath(),
                    QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation)));
  platform.SetWindow(&window);
  QObject::connect(&window, &tagwright::MainWindow::ended, &app, &QCoreApplication::quit);
  tagwright::EndWithTheSession(window);
  window.Form_Load();
  if (!page.isEmpty()) window.OpenPage(page);
  return QApplication::exec();
}
