#include "app/fake_platform.h"

namespace tagwright::test {

void FakePlatform::ShowMessage(const QString& text, const QString& title, MessageIcon icon) {
  messages.push_back({text, title, icon});
  if (whileShown) whileShown(messages.back());
}

QString FakePlatform::OpenFileDialog(const QString& title, const QString& filter) {
  ++dialogs;
  dialogTitle = title;
  dialogFilter = filter;
  return dialogAnswer;
}

QString FakePlatform::SaveFileDialog(const QString& title, const QString& filter,
                                     const QString& suggested) {
  (void)title;
  (void)filter;
  ++saveDialogs;
  saveSuggested = suggested;
  return saveAnswer;
}

bool FakePlatform::OpenUrl(const QString& address) {
  openedUrls.append(address);
  return browserStarts;
}

QStringList FakePlatform::MessageTexts() const {
  QStringList texts;
  for (const Shown& shown : messages) texts.append(shown.text);
  return texts;
}

}  // namespace tagwright::test
