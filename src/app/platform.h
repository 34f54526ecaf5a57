#pragma once

#include <QString>

namespace tagwright {

enum class MessageIcon { None, Exclamation };

/// What the main window asks of the desktop: modal messages, the file-open dialog, the
/// clipboard, the browser and the screen's height. The program uses QtPlatform; tests record
/// the calls instead of blocking on dialogs.
class Platform {
 public:
  virtual ~Platform() = default;
  /// A modal message with one OK button; an empty title shows the application's name.
  virtual void ShowMessage(const QString& text, const QString& title, MessageIcon icon) = 0;
  /// The file-open dialog; the chosen path (which need not exist), or "" when cancelled.
  /// `filter` is in Qt's form, "Description (*.a *.b)".
  virtual QString OpenFileDialog(const QString& title, const QString& filter) = 0;
  /// The file-save dialog, proposing `suggested`; the chosen path, or "" when cancelled. It
  /// asks before an existing file is replaced.
  virtual QString SaveFileDialog(const QString& title, const QString& filter,
                                 const QString& suggested) = 0;
  /// Replaces the clipboard's contents by plain text.
  virtual void SetClipboardText(const QString& text) = 0;
  /// Opens a web or file address with the desktop's program for it; false when that fails.
  virtual bool OpenUrl(const QString& address) = 0;
  /// The height of the screen that shows the main window, in twips (15 to a logical pixel).
  virtual int ScreenHeightTwips() const = 0;
};

}  // namespace tagwright
