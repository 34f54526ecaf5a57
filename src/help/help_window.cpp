#include "help/help_window.h"

#include <QFont>
#include <QPalette>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QResizeEvent>

#include <algorithm>

#include "help/help_text.h"
#include "help/twips.h"

namespace tagwright {
namespace {

constexpr int kButtonWidth = 1215;
constexpr int kButtonHeight = 315;
constexpr int kTextLeft = 120;
constexpr int kTextTop = 120;

// 9.75 points at 96 dpi, in pixels like the window's measures, so the type keeps its place
// in the button whatever the desktop's font scaling.
QFont HelpFont(bool bold) {
  QFont font;
  font.setFamilies(
      {QStringLiteral("Liberation Sans"), QStringLiteral("Arial"), QStringLiteral("DejaVu Sans")});
  font.setStyleHint(QFont::SansSerif);
  font.setPixelSize(13);
  font.setBold(bold);
  return font;
}

// Form_Resize: the text box follows both edges, "Close" stays centred below it. The rules
// measure the window with its frame (`outer`), as its placement over the main window does.
void LayOut(QSize outer, QPlainTextEdit& text, QPushButton& button) {
  const int width = Twips(outer.width());
  const int height = Twips(outer.height());
  text.setGeometry(Px(kTextLeft), Px(kTextTop), Px(std::max(0, width - 350)),
                   Px(std::max(0, height - 1080)));
  button.move(Px((width - kButtonWidth) / 2.0), Px(height - 800));
}

}  // namespace

HelpWindow::HelpWindow(const QWidget* main)
    : QWidget(nullptr), txbHelpScreen_(new QPlainTextEdit(this)), cmdClose_(new QPushButton(this)) {
  setObjectName(QStringLiteral("frmHelp"));
  txbHelpScreen_->setObjectName(QStringLiteral("txbHelpScreen"));
  cmdClose_->setObjectName(QStringLiteral("cmdClose"));
  txbHelpScreen_->setAccessibleName(QStringLiteral("Help text"));
  txbHelpScreen_->setAccessibleDescription(
      QStringLiteral("What the program does and what its settings mean"));
  cmdClose_->setAccessibleDescription(QStringLiteral("Hides the help window"));
  // The title-bar close destroys the window; its owner creates a new one on the next "Help".
  setAttribute(Qt::WA_DeleteOnClose);

  QPalette background = palette();
  background.setColor(QPalette::Window, QColor(224, 224, 224));
  setPalette(background);
  setAutoFillBackground(true);
  setFont(HelpFont(true));

  // Form_Load: lie inside the main window's outline, 200 twips in from its sides, 480 below
  // its top and 200 above its bottom.
  const QRect outline = main->frameGeometry();
  // Until the help window has a frame of its own, it is taken to be as wide as the main
  // window's.
  frameExtra_ = outline.size() - main->geometry().size();
  move(Px(Twips(outline.left()) + 200), Px(Twips(outline.top()) + 480));
  resize(Px(Twips(outline.width()) - 400) - frameExtra_.width(),
         Px(Twips(outline.height()) - 680) - frameExtra_.height());
  setWindowTitle(QStringLiteral("Help screen for Tagwright"));
  cmdClose_->setText(QStringLiteral("Close"));

  txbHelpScreen_->setFont(HelpFont(false));
  QPalette white = txbHelpScreen_->palette();
  white.setColor(QPalette::Base, Qt::white);
  white.setColor(QPalette::Text, Qt::black);
  txbHelpScreen_->setPalette(white);
  txbHelpScreen_->setReadOnly(true);
  txbHelpScreen_->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
  txbHelpScreen_->setLineWrapMode(QPlainTextEdit::WidgetWidth);
  txbHelpScreen_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  txbHelpScreen_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  txbHelpScreen_->setFocusPolicy(Qt::ClickFocus);
  txbHelpScreen_->setPlainText(
      QString::fromStdString(HelpText()).replace(QStringLiteral("\r\n"), QStringLiteral("\n")));

  cmdClose_->resize(Px(kButtonWidth), Px(kButtonHeight));
  // Enter presses the focused button, as on the main window.
  cmdClose_->setAutoDefault(true);
  cmdClose_->setFocus();
  connect(cmdClose_, &QPushButton::clicked, this, &QWidget::hide);

  Form_Resize();
}

void HelpWindow::Form_Resize() {
  if (isMinimized()) return;
  if (isVisible()) {
    const QSize frame = frameGeometry().size() - size();
    if (!frame.isNull()) frameExtra_ = frame;
  }
  LayOut(size() + frameExtra_, *txbHelpScreen_, *cmdClose_);
}

void HelpWindow::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  Form_Resize();
}

void HelpWindow::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  Form_Resize();  // the frame may be known only now
}

void HelpWindowHost::ShowHelp() {
  if (window_ == nullptr) {
    window_ = new HelpWindow(main_);
    // The help window has no owner, so it goes with the main window explicitly.
    QObject::connect(main_, &QObject::destroyed, window_,
                     [window = window_.data()] { delete window; });
  }
  if (window_->isMinimized()) {
    window_->showNormal();
    return;
  }
  window_->show();
  window_->raise();
  window_->activateWindow();
}

}  // namespace tagwright
