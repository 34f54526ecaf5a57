// The window's conveniences: "Large window", "Copy to clipboard", the two links and help.

#include <QCheckBox>
#include <QPlainTextEdit>

#include <algorithm>

#include "app/main_window.h"
#include "app/window_geometry.h"
#include "help/help_text.h"

namespace tagwright {

void MainWindow::chkLargeWindow_Click() {
  // The window's height counts its frame; the client area is what Qt sizes.
  const int frame = frameGeometry().height() - height();
  const int screenHeight = platform_.ScreenHeightTwips();
  int windowHeight = 0;
  if (chkLargeWindow_->isChecked()) {
    windowHeight = LargeWindowHeight(screenHeight);
    move(x(), Px(kLargeWindowTop));
    setFixedHeight(std::max(0, Px(windowHeight) - frame));
  } else {
    setFixedHeight(Px(normalHeight_));
    windowHeight = Twips(frameGeometry().height());
    move(x(), Px((screenHeight - windowHeight) / 2.0));
  }
  const ResultArea area = ResultAreaFor(windowHeight);
  txbMetaTag_->resize(txbMetaTag_->width(), Px(area.metaTagHeight));
  Frame1_->move(Frame1_->x(), Px(area.frameTop));
  SetDefaultFocus();
}

void MainWindow::cmdCopyToClipboard_Click() {
  // The box's own line ends (LF), as editors on this desktop expect them.
  QString text = txbMetaTag_->toPlainText();
  // The statistics lines below a generated tag stay out of the copy.
  const qsizetype statistics = text.indexOf(QLatin1String("Number of keywords in meta tag"));
  if (statistics >= 0) text.truncate(statistics);
  platform_.SetClipboardText(text);
  SetDefaultFocus();
}

void MainWindow::lblVeltrane_Click() { OpenWebPage(QString::fromStdString(HomePageAddress())); }

void MainWindow::lblOnlineDocumentation_Click() {
  OpenWebPage(QString::fromStdString(DocumentationAddress()));
}

void MainWindow::OpenWebPage(const QString& address) {
  if (platform_.OpenUrl(address)) return;
  Message(tr("Error launching web browser. ") +
              tr("Please make sure that your web browser is correctly installed ") +
              tr("and configured"),
          QString(), MessageIcon::Exclamation);
}

void MainWindow::cmdHelp_Click() { help_.ShowHelp(); }

// cmdShowExistingKeywordMetaTag_KeyUp, cmdGenerateKeywordMetaTag_KeyUp and cmdHelp_KeyUp.
void MainWindow::HelpKeyUp(int key) {
  if (key == Qt::Key_F1) cmdHelp_Click();
}

}  // namespace tagwright
