#include "app/start_up.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

#include <cstdio>
#include <cstdlib>

namespace tagwright {

void SetProgramNames() {
  // The lower-case name picks the per-user configuration folder (~/.config/tagwright).
  QCoreApplication::setApplicationName(QStringLiteral("tagwright"));
  QCoreApplication::setApplicationVersion(
      QStringLiteral("%1.%2").arg(TAGWRIGHT_VERSION_MAJOR).arg(TAGWRIGHT_VERSION_MINOR));
}

QString ReadCommandLine(const QStringList& arguments) {
  QCommandLineParser parser;
  parser.setApplicationDescription(QStringLiteral(
      "Weighs the visible words of an HTML page and lists them or composes a keywords meta "
      "tag."));
  parser.addHelpOption();
  parser.addVersionOption();
  parser.addPositionalArgument(QStringLiteral("page"),
                               QStringLiteral("The HTML page to put into the input box."),
                               QStringLiteral("[page]"));
  parser.process(arguments);  // ends the program for --help, --version and errors
  const QStringList pages = parser.positionalArguments();
  if (pages.size() > 1) {
    std::fprintf(stderr, "%s: only one page can be opened\n",
                 qPrintable(QCoreApplication::applicationName()));
    std::exit(EXIT_FAILURE);
  }
  if (pages.isEmpty()) return {};
  // A relative path is kept as the full path, which still holds at the next start.
  return QDir::toNativeSeparators(QFileInfo(pages.first()).absoluteFilePath());
}

bool GraphicalDisplayMissing() {
  return qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qEnvironmentVariableIsEmpty("DISPLAY") &&
         qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY");
}

QIcon ProgramIcon(const QString& programFolder) {
  QIcon icon = QIcon::fromTheme(QStringLiteral("tagwright"));
  if (!icon.isNull()) return icon;
  const QDir hicolor(programFolder + QStringLiteral("/../share/icons/hicolor"));
  for (const QString& size : hicolor.entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
    const QString png = hicolor.filePath(size + QStringLiteral("/apps/tagwright.png"));
    if (QFileInfo::exists(png)) icon.addFile(png);
  }
  return icon;
}

}  // namespace tagwright
