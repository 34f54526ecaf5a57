#pragma once

#include <QString>

class QPlainTextEdit;

namespace tagwright {

/// Appends `words` (each followed by a blank) to the end of the result box and shows the end.
/// Where the box would wrap the line, a new paragraph begins instead, so that an append lays
/// out only the new lines however many words the box already holds.
void AppendWords(QPlainTextEdit& box, const QString& words);

/// Appends `text` to the end of the result box and puts the text cursor after it.
void AppendToEnd(QPlainTextEdit& box, const QString& text);

}  // namespace tagwright
