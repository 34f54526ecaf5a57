// The main window's start-up, focus rule, event routing and shutdown.

#include "app/main_window.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>

#include <cstdio>

#include "app/platform.h"
#include "app/window_geometry.h"

namespace tagwright {

MainWindow::MainWindow(Platform& platform, const QString& stateFile)
    : QWidget(nullptr, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                           Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                           Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint),
      platform_(platform),
      stateFile_(stateFile),
      help_(this) {
  setObjectName(QStringLiteral("frmMain"));
  BuildControls();
  settings_ = std::make_unique<ControlSettings>(ControlSettings::Controls{
      chkIgnoreCommonWords_, chkIgnoreShortWords_, cboShortWordSize_, cboThresholdFrequency_,
      cboTableWeight_, cboExistingKeywordsWeight_, cboBoldWeight_, chkModernMarkup_});
  state_ = std::make_unique<StateBinding>(StateBinding::Controls{
      txbInputFile_, txbBeginMetaTagWith_, txbMaxNumKeywordsInMetaTag_, txbMaxNumBytesInMetaTag_,
      cboShortWordSize_, cboThresholdFrequency_, cboTableWeight_, cboExistingKeywordsWeight_,
      cboBoldWeight_, chkIgnoreShortWords_, chkIgnoreCommonWords_, chkModernMarkup_});
  scanSettings_.Take(*settings_);
  run_ = new RunController(scanSettings_, this);
  connect(run_, &RunController::wordsFound, this, &MainWindow::ShowFoundWords);
  ConnectHandlers();
}

MainWindow::~MainWindow() {
  // The help window has no parent; it goes with the window that opened it.
  delete help_.Window();
}

void MainWindow::ConnectHandlers() {
  // Every control reports to the window: the focus of the checked boxes, key releases, clicks
  // on the links, dropped files, and presses that a check has turned away.
  for (QWidget* control : findChildren<QWidget*>()) control->installEventFilter(this);

  // After Quit no handler runs any more, whatever events are still on their way.
  const auto on = [this](void (MainWindow::*handler)()) {
    return [this, handler] {
      if (!ending_) (this->*handler)();
    };
  };
  const std::pair<QPushButton*, void (MainWindow::*)()> buttons[] = {
      {cmdInputFile_, &MainWindow::cmdInputFile_Click},
      {cmdClearInputFile_, &MainWindow::cmdClearInputFile_Click},
      {cmdReset_, &MainWindow::cmdReset_Click},
      {cmdClearBeginMetaTagWith_, &MainWindow::cmdClearBeginMetaTagWith_Click},
      {cmdShowExistingKeywordMetaTag_, &MainWindow::cmdShowExistingKeywordMetaTag_Click},
      {cmdListWords_, &MainWindow::cmdListWords_Click},
      {cmdGenerateKeywordMetaTag_, &MainWindow::cmdGenerateKeywordMetaTag_Click},
      {cmdHelp_, &MainWindow::cmdHelp_Click},
      {cmdCopyToClipboard_, &MainWindow::cmdCopyToClipboard_Click},
      {cmdSaveReport_, &MainWindow::cmdSaveReport_Click},
      {cmdQuit_, &MainWindow::cmdQuit_Click}};
  for (const auto& [button, handler] : buttons) {
    connect(button, &QPushButton::clicked, this, on(handler));
  }
  connect(chkLargeWindow_, &QCheckBox::stateChanged, this, on(&MainWindow::chkLargeWindow_Click));

  // The settings report code's changes as well as the user's (LoadState, ResetSettings).
  for (QCheckBox* box : {chkIgnoreCommonWords_, chkIgnoreShortWords_, chkModernMarkup_}) {
    connect(box, &QCheckBox::stateChanged, this, [this, box](int state) {
      if (state != Qt::PartiallyChecked) box->setTristate(false);
      if (!ending_) Setting_Click();
    });
  }
  for (QComboBox* list : {cboShortWordSize_, cboThresholdFrequency_, cboTableWeight_,
                          cboBoldWeight_, cboExistingKeywordsWeight_}) {
    connect(list, &QComboBox::currentIndexChanged, this, on(&MainWindow::Setting_Click));
  }
}

void MainWindow::InvalidateAnalysis() {
  analysisCurrent_ = false;
  ++scanInvalidations_;
}

void MainWindow::Form_Load() {
  InvalidateAnalysis();
  loading_ = true;
  setWindowTitle(
      QStringLiteral("Tagwright %1.%2").arg(TAGWRIGHT_VERSION_MAJOR).arg(TAGWRIGHT_VERSION_MINOR));
  normalHeight_ = Twips(height());

  txbMetaTag_->clear();
  ShowNumberOfWords(QString());

  // "Copy to clipboard" stands midway between "Help" and "Quit"; it is enabled once the
  // focus is placed.
  cmdCopyToClipboard_->move(Px(CopyButtonLeft(kFrameWidth, 0, kHelpWidth, kCopyWidth, kQuitWidth)),
                            0);
  cmdCopyToClipboard_->setEnabled(false);

  if (!LoadState()) ResetSettings(false);
  ValidateInputFile(txbInputFile_->text());

  CentreOnScreen();
  show();
  CentreOnScreen();  // again with the frame, now that the window has one
  SetDefaultFocus();
  loading_ = false;
}

void MainWindow::OpenPage(const QString& path) {
  if (ending_) return;
  txbInputFile_->setText(path);
  InputFileEntered();
}

void MainWindow::CentreOnScreen() {
  const QScreen* shown = screen();
  if (shown == nullptr) return;
  QRect outline = frameGeometry();
  outline.moveCenter(shown->availableGeometry().center());
  move(outline.topLeft());
}

void MainWindow::SetDefaultFocus() {
  if (!isVisible()) return;
  // A disabled button does not take the focus; it then stays where it is.
  if (txbInputFile_->text().isEmpty()) {
    cmdInputFile_->setFocus(Qt::OtherFocusReason);
  } else if (cmdGenerateKeywordMetaTag_->isEnabled()) {
    cmdGenerateKeywordMetaTag_->setFocus(Qt::OtherFocusReason);
  } else {
    cmdListWords_->setFocus(Qt::OtherFocusReason);
  }
  cmdCopyToClipboard_->setEnabled(true);
}

void MainWindow::Message(const QString& text, const QString& title, MessageIcon icon) {
  ++messagesShown_;
  if (messagesToStandardError_) {
    std::fprintf(stderr, "tagwright: %s\n", text.toLocal8Bit().constData());
    return;
  }
  platform_.ShowMessage(text, title, icon);
}

void MainWindow::cmdQuit_Click() {
  if (ending_) return;
  // From here on no handler runs, and a scan suspended in a yield ends at once.
  ending_ = true;
  run_->Abandon();
  SaveState();
  if (HelpWindow* helpWindow = help_.Window()) helpWindow->close();
  hide();
  emit ended();
}

void MainWindow::Form_Unload() { cmdQuit_Click(); }

void MainWindow::EndOnSignal() {
  messagesToStandardError_ = true;
  cmdQuit_Click();  // nothing more when Quit has already saved
}

void MainWindow::closeEvent(QCloseEvent* event) {
  if (!ending_) Form_Unload();
  event->accept();
}

void MainWindow::BoxLeft(Qt::FocusReason reason) {
  // A message box, another application or a popup taking the focus is not leaving the box.
  if (reason == Qt::ActiveWindowFocusReason || reason == Qt::PopupFocusReason) return;
  QWidget* box = focusedBox_;
  focusedBox_ = nullptr;
  const QPointer<QWidget> target = QApplication::focusWidget();
  const int messagesBefore = messagesShown_;
  if (box == txbInputFile_) {
    // Moving on by keyboard goes where the user went: Tab walks every control in turn.
    txbInputFile_LostFocus(reason == Qt::TabFocusReason || reason == Qt::BacktabFocusReason ||
                           reason == Qt::ShortcutFocusReason);
  } else if (box == txbMaxNumKeywordsInMetaTag_) {
    txbMaxNumKeywordsInMetaTag_LostFocus();
  } else if (box == txbMaxNumBytesInMetaTag_) {
    txbMaxNumBytesInMetaTag_LostFocus();
  }
  // When the check objected and kept the focus from the control the user clicked, that
  // click is not carried out: the press that follows this focus change is dropped.
  if (reason == Qt::MouseFocusReason && messagesShown_ != messagesBefore && target &&
      QApplication::focusWidget() != target) {
    swallowPressOn_ = target;
    QMetaObject::invokeMethod(
        this, [this] { swallowPressOn_ = nullptr; }, Qt::QueuedConnection);
  }
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
  if (ending_) return QWidget::eventFilter(watched, event);
  const bool checkedBox = watched == txbInputFile_ || watched == txbMaxNumKeywordsInMetaTag_ ||
                          watched == txbMaxNumBytesInMetaTag_;
  switch (event->type()) {
    case QEvent::FocusIn:
      if (checkedBox) focusedBox_ = static_cast<QWidget*>(watched);
      // A link with the focus is framed, as a focused button is marked.
      if (watched == lblVeltrane_ || watched == lblOnlineDocumentation_) {
        static_cast<QLabel*>(watched)->setFrameShape(QFrame::Box);
      }
      break;
    case QEvent::FocusOut:
      if (watched == lblVeltrane_ || watched == lblOnlineDocumentation_) {
        static_cast<QLabel*>(watched)->setFrameShape(QFrame::NoFrame);
      }
      // Only a box that had the focus can be left (not one that lost it on the way to it).
      if (checkedBox && watched == focusedBox_) {
        BoxLeft(static_cast<QFocusEvent*>(event)->reason());
      }
      break;
    case QEvent::KeyPress:
      if (LinkKeyPress(watched, static_cast<QKeyEvent*>(event)->key())) return true;
      break;
    case QEvent::KeyRelease: {
      const auto* key = static_cast<QKeyEvent*>(event);
      if (key->isAutoRepeat()) break;
      if (watched == txbInputFile_) {
        txbInputFile_KeyUp(key->key());
      } else if (watched == cmdShowExistingKeywordMetaTag_ ||
                 watched == cmdGenerateKeywordMetaTag_ || watched == cmdHelp_) {
        HelpKeyUp(key->key());
      }
      break;
    }
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
      if (watched == swallowPressOn_) {
        swallowPressOn_ = nullptr;
        return true;
      }
      break;
    case QEvent::MouseButtonRelease: {
      const auto* mouse = static_cast<QMouseEvent*>(event);
      const bool onLink = watched == lblVeltrane_ || watched == lblOnlineDocumentation_;
      if (onLink && mouse->button() == Qt::LeftButton &&
          static_cast<QWidget*>(watched)->rect().contains(mouse->position().toPoint())) {
        if (watched == lblVeltrane_) {
          lblVeltrane_Click();
        } else {
          lblOnlineDocumentation_Click();
        }
        return true;
      }
      break;
    }
    case QEvent::DragEnter:
    case QEvent::DragMove:
    case QEvent::Drop:
      // A file dropped on a text box is the input file, not text for the box.
      if (FileDragEvent(static_cast<QDropEvent*>(event))) return true;
      break;
    default:
      break;
  }
  return QWidget::eventFilter(watched, event);
}

}  // namespace tagwright
