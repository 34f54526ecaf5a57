#pragma once

#include <QPointer>
#include <QWidget>

class QPlainTextEdit;
class QPushButton;

namespace tagwright {

/// The help window (`frmHelp`): the fixed help text in a read-only box and a "Close" button
/// that hides the window and keeps it.
class HelpWindow : public QWidget {
  Q_OBJECT
 public:
  /// Creates the window placed over `main` (its geometry taken at this moment).
  explicit HelpWindow(const QWidget* main);

 protected:
  void resizeEvent(QResizeEvent* event) override;
  void showEvent(QShowEvent* event) override;

 private:
  /// Lays the text box and "Close" out for the window's present size.
  void Form_Resize();

  /// What the frame adds to the client area, in pixels.
  QSize frameExtra_;
  QPlainTextEdit* txbHelpScreen_;
  QPushButton* cmdClose_;
};

/// Keeps the help window of the main window: the first "Help" creates it; "Help" restores a
/// minimized one and shows a hidden one where it was; after the user closed it with the
/// title-bar control, the next "Help" creates it afresh.
class HelpWindowHost {
 public:
  explicit HelpWindowHost(const QWidget* main) : main_(main) {}
  void ShowHelp();
  /// The current help window, or null when none exists.
  HelpWindow* Window() const { return window_; }

 private:
  const QWidget* main_;
  QPointer<HelpWindow> window_;
};

}  // namespace tagwright
