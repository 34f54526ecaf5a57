// The input file: the file dialog, the typed path and its checks, Clear, and dropped files.

#include <QDir>
#include <QDropEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QUrl>

#include "app/main_window.h"
#include "app/text_convert.h"
#include "util/file_proc.h"
#include "util/str_proc.h"

namespace tagwright {
namespace {

// The first local file that a drag carries, or "".
QString DraggedFile(const QMimeData* data) {
  if (data == nullptr) return {};
  for (const QUrl& url : data->urls()) {
    if (url.isLocalFile()) return QDir::toNativeSeparators(url.toLocalFile());
  }
  return {};
}

}  // namespace

void MainWindow::cmdInputFile_Click() {
  InvalidateAnalysis();  // also when the dialog is cancelled
  const QString path =
      platform_.OpenFileDialog(tr("Specify input file"), tr("HTML files (*.htm *.html)"));
  if (path.isEmpty()) return;
  txbInputFile_->setText(path);
  txbMetaTag_->clear();
  ShowNumberOfWords(QString());
  ValidateInputFile(path);
  SetDefaultFocus();
}

void MainWindow::ValidateInputFile(const QString& fileSpec) {
  const FileSpecCheck check = CheckInputFileSpec(LocalPath(fileSpec));
  if (check == FileSpecCheck::Valid) return;
  if (loading_) {
    // A remembered path that no longer holds is dropped without a word.
    txbInputFile_->clear();
    return;
  }
  FileSpecMessageBox(check);
}

void MainWindow::FileSpecMessageBox(FileSpecCheck check) {
  const QString text = QString::fromStdString(FileSpecMessage(check));
  switch (check) {
    case FileSpecCheck::BadForm:
      Message(text, tr("Invalid input"), MessageIcon::Exclamation);
      break;
    case FileSpecCheck::BadExtension:
      Message(text, tr("Invalid input"), MessageIcon::None);
      break;
    default:
      Message(text, tr("File not found"), MessageIcon::Exclamation);
      break;
  }
}

void MainWindow::txbInputFile_KeyUp(int key) {
  if (key == Qt::Key_Return || key == Qt::Key_Enter) InputFileEntered();
}

void MainWindow::InputFileEntered() {
  // The path is checked now; the focus that then moves on from the box is not another
  // leaving of it (which would check it twice).
  if (focusedBox_ == txbInputFile_) focusedBox_ = nullptr;
  txbInputFile_LostFocus();
  if (txbInputFile_->hasFocus()) focusedBox_ = txbInputFile_;
}

void MainWindow::txbInputFile_LostFocus(bool keepFocus) {
  if (!isEnabled()) return;
  const std::string text = std::string(TrimBlanks(txbInputFile_->text().toStdString()));
  txbInputFile_->setText(QString::fromStdString(text));
  if (!text.empty()) ValidateInputFile(txbInputFile_->text());
  InvalidateAnalysis();
  if (!keepFocus) SetDefaultFocus();
}

void MainWindow::cmdClearInputFile_Click() {
  txbInputFile_->clear();
  cmdInputFile_->setFocus(Qt::OtherFocusReason);
}

bool MainWindow::FileDragEvent(QDropEvent* event) {
  const QString path = DraggedFile(event->mimeData());
  if (path.isEmpty() || ending_) return false;
  event->acceptProposedAction();
  if (event->type() == QEvent::Drop) {
    // A dropped file is checked exactly as a typed path is.
    txbInputFile_->setText(path);
    InputFileEntered();
  }
  return true;
}

void MainWindow::dragEnterEvent(QDragEnterEvent* event) { FileDragEvent(event); }

void MainWindow::dropEvent(QDropEvent* event) { FileDragEvent(event); }

}  // namespace tagwright
