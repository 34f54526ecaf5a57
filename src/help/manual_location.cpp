#include "help/manual_location.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace tagwright {

QString ManualPath(const QString& programDir) {
  QString dir = programDir;
  if (dir.isEmpty() && QCoreApplication::instance() != nullptr) {
    dir = QCoreApplication::applicationDirPath();
  }
  if (!dir.isEmpty()) {
    const QString installed =
        QDir(dir).absoluteFilePath(QStringLiteral(TAGWRIGHT_INSTALLED_DOCS "/manual.html"));
    if (QFileInfo::exists(installed)) return QDir::cleanPath(installed);
  }
  // A program run from its build tree finds the manual in the sources it was built from.
  return QStringLiteral(TAGWRIGHT_SOURCE_DOCS "/manual.html");
}

}  // namespace tagwright
