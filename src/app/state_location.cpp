#include "app/state_location.h"

#include <QDir>

#include "app/text_convert.h"
#include "util/file_proc.h"

namespace tagwright {

QString StateFilePath(const QString& programFolder, const QString& userFolder) {
  const QString name = QStringLiteral("tgw.usr");
  if (MayWrite(LocalPath(programFolder))) return QDir(programFolder).filePath(name);
  QDir().mkpath(userFolder);  // a failure shows when the state is saved
  return QDir(userFolder).filePath(name);
}

}  // namespace tagwright
