#include "app/result_box.h"

#include <QFontMetrics>
#include <QPlainTextEdit>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

#include <algorithm>

namespace tagwright {
namespace {

// The characters that fit on one line of the box, a little less to be safe (the box's type
// face is fixed-pitch).
qsizetype Columns(const QPlainTextEdit& box) {
  const int charWidth = std::max(1, box.fontMetrics().horizontalAdvance(QLatin1Char('m')));
  const double margins = 2 * box.document()->documentMargin() + 4;
  return std::max<qsizetype>(
      8, static_cast<qsizetype>((box.viewport()->width() - margins) / charWidth));
}

}  // namespace

void AppendWords(QPlainTextEdit& box, const QString& words) {
  const qsizetype columns = Columns(box);
  qsizetype column = box.document()->lastBlock().length() - 1;
  QString lines;
  lines.reserve(words.size() + words.size() / columns + 1);
  qsizetype begin = 0;
  while (begin < words.size()) {
    qsizetype end = words.indexOf(QLatin1Char(' '), begin);
    end = end < 0 ? words.size() : end + 1;  // the word with its blank
    const qsizetype length = end - begin;
    // The blank may stand beyond the line's end, as the box's own wrapping allows.
    if (column > 0 && column + length - 1 > columns) {
      lines += QLatin1Char('\n');
      column = 0;
    }
    lines += QStringView(words).mid(begin, length);
    column += length;
    begin = end;
  }
  AppendToEnd(box, lines);
}

void AppendToEnd(QPlainTextEdit& box, const QString& text) {
  QTextCursor end(box.document());
  end.movePosition(QTextCursor::End);
  end.insertText(text);
  box.setTextCursor(end);
}

}  // namespace tagwright
