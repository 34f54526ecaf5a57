#pragma once

#include <QPointer>
#include <QString>
#include <QWidget>

#include <memory>
#include <string>

#include "app/control_settings.h"
#include "app/platform.h"
#include "app/run_controller.h"
#include "app/state_binding.h"
#include "help/help_window.h"
#include "util/file_proc.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

namespace tagwright {

/// The main window (`frmMain`): the input file, the analysis settings, the two runs and their
/// result box, and the bottom row. Its handlers carry the names of the events they answer. It
/// composes the run controller (the scans, their progress and Stop), the binding of its
/// controls to the state file, and the settings as the analysis reads them.
class MainWindow : public QWidget {
  Q_OBJECT
 public:
  /// `platform` must outlive the window; `stateFile` is the full path of tgw.usr.
  MainWindow(Platform& platform, const QString& stateFile);
  ~MainWindow() override;

  /// Start-up: loads the state (or the defaults), checks the remembered input file silently,
  /// shows the window centred and gives the focus to the next sensible button.
  void Form_Load();

  /// Makes `path` the input file and checks it as a typed path (a page named at start-up).
  void OpenPage(const QString& path);

  /// True while the word table of the last completed scan can be reused.
  bool AnalysisCurrent() const { return analysisCurrent_; }
  /// True once Quit or the close box has saved the state; the window then does nothing more.
  bool Ending() const { return ending_; }
  /// The runs, and the word table of the last one.
  const RunController& Runs() const { return *run_; }

  /// The state is saved and the program ends, as on Quit (`Form_Unload`): the close box, the
  /// end of the desktop session, or a request to terminate.
  void Form_Unload();
  /// Ends as Form_Unload does, but shows no box: a message (the state file's failure) goes to
  /// standard error instead. For a request to terminate, which no one is there to answer.
  void EndOnSignal();
  /// Writes the state file now (`SaveState`), reporting a failure.
  void SaveState();

 signals:
  /// The state is saved and the windows are hidden: the program should end now.
  void ended();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dropEvent(QDropEvent* event) override;

 private:
  // Layout (main_window_layout.cpp).
  void BuildControls();
  void ConnectHandlers();
  // Keyboard and assistive technology (main_window_keyboard.cpp).
  /// The labels' buddies, Ctrl+Q, and every control's accessible name and description.
  void SetUpKeyboardAndAccessibility();
  /// Enter or Space on a focused link follows it; true when the key was taken.
  bool LinkKeyPress(QObject* watched, int key);
  /// Shows the word count (or empties it) and names it for assistive technology.
  void ShowNumberOfWords(const QString& text);

  // Focus, messages, event routing and shutdown (main_window.cpp).
  /// The next run reads the page again (`blnAnalysisCurrent` = False), also when the change
  /// comes while a scan goes: that scan's word table mixes both and is not kept as current.
  void InvalidateAnalysis();
  void SetDefaultFocus();
  void CentreOnScreen();
  void Message(const QString& text, const QString& title, MessageIcon icon);
  /// The checked box that had the focus lost it: runs its _LostFocus handler.
  void BoxLeft(Qt::FocusReason reason);
  void cmdQuit_Click();

  // Settings (settings_handlers.cpp).
  void Setting_Click();
  void txbMaxNumKeywordsInMetaTag_LostFocus();
  void txbMaxNumBytesInMetaTag_LostFocus();
  void cmdClearBeginMetaTagWith_Click();
  /// Filters a limit box and puts its default back, with a message, when out of range.
  void CheckLimitBox(QLineEdit* box, std::string (*check)(std::string&));

  // Input file (input_file.cpp).
  void cmdInputFile_Click();
  void ValidateInputFile(const QString& fileSpec);
  /// The message of ValidateInputFile for a path that fails `check`.
  void FileSpecMessageBox(FileSpecCheck check);
  void txbInputFile_KeyUp(int key);
  /// Enter or a drop: the box's path is checked as if the box had been left.
  void InputFileEntered();
  /// With `keepFocus` (the user moved on with Tab, Shift+Tab or a mnemonic) the focus stays
  /// where the user put it; otherwise it goes to the next sensible button.
  void txbInputFile_LostFocus(bool keepFocus = false);
  void cmdClearInputFile_Click();
  /// Takes a drag that carries a local file, and on the drop makes it the input file.
  bool FileDragEvent(QDropEvent* event);

  // State file (state.cpp).
  bool LoadState();
  void ResetSettings(bool keepTexts);
  void cmdReset_Click();

  // Runs (analysis_run.cpp).
  void cmdListWords_Click();
  void cmdGenerateKeywordMetaTag_Click();
  void RunAnalysis(bool generate);
  /// Scans the input file into the word table; true when the scan completed.
  bool ScanInputFile();
  /// The words found so far and their count, while a scan goes.
  void ShowFoundWords(const QString& words, qint64 numWords);
  /// The word list or the meta tag from the current word table.
  void ShowResult(bool generate);
  void EnableCommands(bool enabled);
  void cmdShowExistingKeywordMetaTag_Click();
  /// Strips the input box and checks that it names an existing file, saying so if not.
  bool CheckInputBeforeReading();
  /// Shows a core result text (CR LF line ends) in the result box.
  void SetResultText(const std::string& text);

  // Conveniences (conveniences.cpp).
  void chkLargeWindow_Click();
  void cmdCopyToClipboard_Click();
  void lblVeltrane_Click();
  void lblOnlineDocumentation_Click();
  void OpenWebPage(const QString& address);
  void cmdHelp_Click();
  /// cmdShowExistingKeywordMetaTag_KeyUp, cmdGenerateKeywordMetaTag_KeyUp, cmdHelp_KeyUp.
  void HelpKeyUp(int key);
  // The report of the page (save_report.cpp).
  void cmdSaveReport_Click();

  Platform& platform_;
  /// The full path of tgw.usr (`strStateFile`).
  const QString stateFile_;

  // Controls, in the order of the window's design.
  QPushButton* cmdInputFile_ = nullptr;
  QLineEdit* txbInputFile_ = nullptr;
  QPushButton* cmdClearInputFile_ = nullptr;
  QCheckBox* chkIgnoreCommonWords_ = nullptr;
  QCheckBox* chkIgnoreShortWords_ = nullptr;
  QComboBox* cboShortWordSize_ = nullptr;
  QLabel* lblCharsOrLess_ = nullptr;
  QPushButton* cmdReset_ = nullptr;
  QLabel* lblBeginMetaTagWith_ = nullptr;
  QLineEdit* txbBeginMetaTagWith_ = nullptr;
  QPushButton* cmdClearBeginMetaTagWith_ = nullptr;
  QLabel* lblThresholdFrequency_ = nullptr;
  QComboBox* cboThresholdFrequency_ = nullptr;
  QLabel* lblExistingkeywordsWeight_ = nullptr;
  QComboBox* cboExistingKeywordsWeight_ = nullptr;
  QPushButton* cmdShowExistingKeywordMetaTag_ = nullptr;
  QLabel* lblTableWeight_ = nullptr;
  QComboBox* cboTableWeight_ = nullptr;
  QLabel* lblBoldWeight_ = nullptr;
  QComboBox* cboBoldWeight_ = nullptr;
  QLabel* lblMaxNumKeywords_ = nullptr;
  QLineEdit* txbMaxNumKeywordsInMetaTag_ = nullptr;
  QPushButton* cmdListWords_ = nullptr;
  QLabel* lblNumberOfWords_ = nullptr;
  QLabel* lblMaxNumBytes_ = nullptr;
  QLineEdit* txbMaxNumBytesInMetaTag_ = nullptr;
  QCheckBox* chkLargeWindow_ = nullptr;
  QCheckBox* chkModernMarkup_ = nullptr;
  QPushButton* cmdGenerateKeywordMetaTag_ = nullptr;
  QPlainTextEdit* txbMetaTag_ = nullptr;
  QWidget* Frame1_ = nullptr;
  QPushButton* cmdSaveReport_ = nullptr;
  QPushButton* cmdHelp_ = nullptr;
  QPushButton* cmdCopyToClipboard_ = nullptr;
  QPushButton* cmdQuit_ = nullptr;
  QLabel* lblVeltrane_ = nullptr;
  QLabel* lblOnlineDocumentation_ = nullptr;

  /// Start-up is under way (`blnLoading`): a bad remembered input file goes without a word.
  bool loading_ = false;
  /// The word table of the last completed scan still holds (`blnAnalysisCurrent`).
  bool analysisCurrent_ = false;
  /// Counts the changes that need a new scan; a scan during which it moved is not current.
  unsigned scanInvalidations_ = 0;
  /// Quit has saved the state; no handler runs any more.
  bool ending_ = false;
  /// The window's height at start-up in twips (`intNormalHeight`; its client height: the
  /// frame is not known before the window is shown, and is added back when it is restored).
  int normalHeight_ = 0;
  /// The text box that last took the focus from within the window; only it can be left.
  QWidget* focusedBox_ = nullptr;
  /// A control whose next mouse press is dropped (see BoxLeft).
  QPointer<QWidget> swallowPressOn_;
  int messagesShown_ = 0;
  /// Messages go to standard error, not into boxes (the program is ending on a signal).
  bool messagesToStandardError_ = false;

  std::unique_ptr<ControlSettings> settings_;
  /// What the scanning thread reads: `settings_` as they were at the last change.
  SharedSettings scanSettings_;
  std::unique_ptr<StateBinding> state_;
  RunController* run_ = nullptr;
  HelpWindowHost help_;
};

}  // namespace tagwright
