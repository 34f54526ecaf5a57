#pragma once

#include <QString>
#include <QStringList>

#include <functional>
#include <vector>

#include "app/platform.h"

namespace tagwright::test {

/// A desktop that records what the window asks of it and answers as the test says.
class FakePlatform final : public Platform {
 public:
  struct Shown {
    QString text;
    QString title;
    MessageIcon icon;
  };

  std::vector<Shown> messages;
  /// Runs while a message is "on screen", as a modal box would keep the caller waiting.
  std::function<void(const Shown&)> whileShown;

  QString dialogAnswer;  // "" cancels the dialog
  int dialogs = 0;
  QString dialogTitle;
  QString dialogFilter;

  QString saveAnswer;  // "" cancels the save dialog
  int saveDialogs = 0;
  QString saveSuggested;

  QStringList clipboard;  // every text put on the clipboard, in order

  bool browserStarts = true;
  QStringList openedUrls;

  int screenHeightTwips = 11520;

  void ShowMessage(const QString& text, const QString& title, MessageIcon icon) override;
  QString OpenFileDialog(const QString& title, const QString& filter) override;
  QString SaveFileDialog(const QString& title, const QString& filter,
                         const QString& suggested) override;
  void SetClipboardText(const QString& text) override { clipboard.append(text); }
  bool OpenUrl(const QString& address) override;
  int ScreenHeightTwips() const override { return screenHeightTwips; }

  /// The texts of the messages shown so far.
  QStringList MessageTexts() const;
};

}  // namespace tagwright::test
