#pragma once

#include <QString>

class QPlainTextEdit;

namespace tagwright {

/// Appends `words` (each followed by a blank) to the end of the result box and shows the end.
/// The words go into paragraphs of a few dozen lines, each ended where the box would wrap
/// anyway, so that an append costs as much as the new words however many the box holds.
void AppendWords(QPlainTextEdit& box, const QString& words);

/// Appends `text` to the end of the result box and puts the text cursor after it.
void AppendToEnd(QPlainTextEdit& box, const QString& text);

}  // namespace tagwright
