#include "app/result_box.h"

#include <QFontMetrics>
#include <QPlainTextEdit>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

#include <algorithm>

namespace tagwright {
namespace {

// A paragraph of the box holds a few dozen lines: appending lays out and stores the new
// paragraphs only, and few paragraphs are cheap to store.
constexpr qsizetype kParagraphChars = 2048;

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
  // Where the box would wrap, a long paragraph ends instead, so no line comes out short.
  qsizetype paragraph = box.document()->lastBlock().length() - 1;
  qsizetype column = paragraph % columns;
  QString lines;
  lines.reserve(words.size() + words.size() / kParagraphChars + 1);
  qsizetype begin = 0;
  while (begin < words.size()) {
    qsizetype end = words.indexOf(QLatin1Char(' '), begin);
    end = end < 0 ? words.size() : end + 1;  // the word with its blank
    const qsizetype length = end - begin;
    // The blank may stand beyond the line's end, as the box's own wrapping allows.
    if (column > 0 && column + length - 1 > columns) {
      column = 0;
      if (paragraph >= kParagraphChars) {
        lines += QLatin1Char('\n');
        paragraph = 0;
      }
    }
    lines += QStringView(words).mid(begin, length);
    column += length;
    paragraph += length;
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
