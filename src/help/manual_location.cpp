#include "help/manual_location.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace tagwright {

namespace {

// The source folder named by the build tree's marker beside the program, or "" when there is
// no marker or it cannot be read.
QString SourceTreeOfBuild(const QDir& programDir) {
  QFile marker(programDir.filePath(QLatin1String(kBuildTreeMarker)));
  if (!QFileInfo(marker).isFile() || !marker.open(QIODevice::ReadOnly | QIODevice::Text)) {
    return {};
  }
  // One line, the folder; a path longer than this is no path the build wrote.
  constexpr qint64 kMaxLine = 4096;
  return QString::fromUtf8(marker.readLine(kMaxLine)).trimmed();
}

}  // namespace

QString ManualPath(const QString& programDir) {
  QString dir = programDir;
  if (dir.isEmpty() && QCoreApplication::instance() != nullptr) {
    dir = QCoreApplication::applicationDirPath();
  }
  const QDir program(dir);
  QString installed = QDir::cleanPath(
      program.absoluteFilePath(QStringLiteral(TAGWRIGHT_INSTALLED_DOCS "/manual.html")));
  if (QFileInfo::exists(installed)) return installed;

  const QString sources = SourceTreeOfBuild(program);
  if (!sources.isEmpty()) {
    const QString manual = QDir(sources).absoluteFilePath(QStringLiteral("docs/manual.html"));
    if (QFileInfo(manual).isFile()) return QDir::cleanPath(manual);
  }
  return installed;
}

}  // namespace tagwright
