#pragma once

#include <QPointer>
#include <QWidget>

#include "app/platform.h"

namespace tagwright {

/// The desktop as Qt gives it: QMessageBox, QFileDialog, the system clipboard,
/// QDesktopServices and the screen of the main window.
class QtPlatform final : public Platform {
 public:
  /// Message boxes and the dialog are modal over `window`, whose screen is measured.
  void SetWindow(QWidget* window) { window_ = window; }

  void ShowMessage(const QString& text, const QString& title, MessageIcon icon) override;
  QString OpenFileDialog(const QString& title, const QString& filter) override;
  QString SaveFileDialog(const QString& title, const QString& filter,
                         const QString& suggested) override;
  void SetClipboardText(const QString& text) override;
  bool OpenUrl(const QString& address) override;
  int ScreenHeightTwips() const override;

 private:
  QPointer<QWidget> window_;
};

}  // namespace tagwright
