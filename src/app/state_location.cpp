#include "app/state_location.h"

#include <QDir>
#include <QFileInfo>

#include "app/text_convert.h"
#include "util/file_proc.h"

namespace tagwright {

bool InstalledProgram(const QString& programFolder) {
  // Links resolved, so that /bin (a link to /usr/bin) and a linked copy count alike.
  QString folder = QFileInfo(programFolder).canonicalFilePath();
  if (folder.isEmpty()) folder = QDir::cleanPath(QDir(programFolder).absolutePath());
  for (const QLatin1String prefix :
       {QLatin1String("/usr"), QLatin1String("/bin"), QLatin1String("/sbin"), QLatin1String("/opt"),
        QLatin1String("/snap")}) {
    if (folder == prefix || folder.startsWith(prefix + QLatin1Char('/'))) return true;
  }
  return QFileInfo(QDir(programFolder).filePath(QStringLiteral("../share/doc/tagwright"))).isDir();
}

QString StateFilePath(const QString& programFolder, const QString& userFolder) {
  const QString name = QStringLiteral("tgw.usr");
  if (!InstalledProgram(programFolder) && MayWrite(LocalPath(programFolder))) {
    return QDir(programFolder).filePath(name);
  }
  QDir().mkpath(userFolder);  // a failure shows when the state is saved
  return QDir(userFolder).filePath(name);
}

}  // namespace tagwright
