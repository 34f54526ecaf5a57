#include "app/qt_platform.h"

#include <QClipboard>
#include <QDesktopServices>
#include <QDir>
#include <QFileDialog>
#include <QGuiApplication>
#include <QMessageBox>
#include <QScreen>
#include <QUrl>

#include <cstdio>

#include "app/window_geometry.h"

namespace tagwright {

void QtPlatform::ShowMessage(const QString& text, const QString& title, MessageIcon icon) {
  // For tests and troubleshooting: each box's text is also written to standard error.
  if (qEnvironmentVariableIsSet("TAGWRIGHT_ECHO_MESSAGES")) {
    std::fprintf(stderr, "tagwright: message box: %s\n", text.toLocal8Bit().constData());
    std::fflush(stderr);
  }
  QMessageBox box(icon == MessageIcon::Exclamation ? QMessageBox::Warning : QMessageBox::NoIcon,
                  title.isEmpty() ? QStringLiteral("Tagwright") : title, text, QMessageBox::Ok,
                  window_);
  box.exec();
}

QString QtPlatform::OpenFileDialog(const QString& title, const QString& filter) {
  QFileDialog dialog(window_, title, QString(), filter);
  dialog.setAcceptMode(QFileDialog::AcceptOpen);
  // A typed name that does not exist comes back too; the window then says so.
  dialog.setFileMode(QFileDialog::AnyFile);
  if (dialog.exec() != QDialog::Accepted) return {};
  const QStringList files = dialog.selectedFiles();
  return files.isEmpty() ? QString() : QDir::toNativeSeparators(files.first());
}

QString QtPlatform::SaveFileDialog(const QString& title, const QString& filter,
                                   const QString& suggested) {
  QFileDialog dialog(window_, title, suggested, filter);
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setDefaultSuffix(QStringLiteral("html"));
  if (dialog.exec() != QDialog::Accepted) return {};
  const QStringList files = dialog.selectedFiles();
  return files.isEmpty() ? QString() : QDir::toNativeSeparators(files.first());
}

void QtPlatform::SetClipboardText(const QString& text) {
  QClipboard* clipboard = QGuiApplication::clipboard();
  clipboard->clear();
  clipboard->setText(text);
}

bool QtPlatform::OpenUrl(const QString& address) {
  return QDesktopServices::openUrl(QUrl::fromUserInput(address));
}

int QtPlatform::ScreenHeightTwips() const {
  const QScreen* screen = window_ ? window_->screen() : QGuiApplication::primaryScreen();
  return screen ? Twips(screen->geometry().height()) : 0;
}

}  // namespace tagwright
