// "Save report...": the site report of the window's page, written where the user says.

#include <QFileInfo>
#include <QLineEdit>

#include <string>

#include "app/main_window.h"
#include "app/text_convert.h"
#include "output/site_report.h"

namespace tagwright {

void MainWindow::cmdSaveReport_Click() {
  // A report is of a completed run (the button is disabled during one).
  if (!analysisCurrent_) {
    Message(tr("Run \"List words\" or \"Generate keywords meta tag\" first."), tr("Save report"),
            MessageIcon::Exclamation);
    return;
  }
  if (!CheckInputBeforeReading()) return;
  const QFileInfo page(txbInputFile_->text());
  const QString suggested =
      page.absolutePath() + QStringLiteral("/") + page.completeBaseName() + "-report.html";
  const QString chosen =
      platform_.SaveFileDialog(tr("Save report"), tr("HTML pages (*.html *.htm)"), suggested);
  if (chosen.isEmpty()) return;

  MetaTagRequest request;
  request.maxKeywordsText = txbMaxNumKeywordsInMetaTag_->text().toStdString();
  request.maxBytesText = txbMaxNumBytesInMetaTag_->text().toStdString();
  request.beginWithText = txbBeginMetaTagWith_->text().toStdString();
  const std::string target = LocalPath(chosen);
  std::string html;
  std::string error;
  if (!PageReport(LocalPath(txbInputFile_->text()), *settings_, request,
                  LocalPath(QFileInfo(chosen).absolutePath()), html, error) ||
      !WriteFileAtomically(target, html, error)) {
    Message(tr("The report could not be saved: %1").arg(QString::fromStdString(error)),
            tr("Save report"), MessageIcon::Exclamation);
  }
}

}  // namespace tagwright
