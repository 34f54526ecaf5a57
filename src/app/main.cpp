#include <QApplication>

#include "app/main_window.h"
#include "app/qt_platform.h"

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("Tagwright"));
  tagwright::QtPlatform platform;
  tagwright::MainWindow window(platform,
                               QCoreApplication::applicationDirPath() + QStringLiteral("/tgw.usr"));
  platform.SetWindow(&window);
  QObject::connect(&window, &tagwright::MainWindow::ended, &app, &QCoreApplication::quit);
  window.Form_Load();
  return app.exec();
}
