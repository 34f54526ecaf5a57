#include "app/text_convert.h"

#include <QFile>

namespace tagwright {

QString ToBoxText(std::string_view text) {
  QString boxText = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
  boxText.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  return boxText;
}

QString FromBoxText(const QString& text) {
  QString result = text;
  result.replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
  return result;
}

std::string LocalPath(const QString& path) { return QFile::encodeName(path).toStdString(); }

QString FromLocalPath(const std::string& path) {
  return QFile::decodeName(QByteArray::fromStdString(path));
}

}  // namespace tagwright
