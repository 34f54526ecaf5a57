// The main window by keyboard and for assistive technology: the labels that lead to their
// boxes (their mnemonics are in the captions), Ctrl+Q, the links followed with Enter or Space,
// and an accessible name and description for every control.

#include <QCheckBox>
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QShortcut>

#include "app/main_window.h"

namespace tagwright {
namespace {

// A caption as it is read out: without the mark of its mnemonic.
QString Spoken(const QString& caption) {
  QString text = caption;
  text.remove(QLatin1Char('&'));
  return text;
}

}  // namespace

void MainWindow::SetUpKeyboardAndAccessibility() {
  // Alt and a label's underlined letter go to the box the label names.
  const std::pair<QLabel*, QWidget*> buddies[] = {
      {lblCharsOrLess_, cboShortWordSize_},
      {lblBeginMetaTagWith_, txbBeginMetaTagWith_},
      {lblThresholdFrequency_, cboThresholdFrequency_},
      {lblExistingkeywordsWeight_, cboExistingKeywordsWeight_},
      {lblTableWeight_, cboTableWeight_},
      {lblBoldWeight_, cboBoldWeight_},
      {lblMaxNumKeywords_, txbMaxNumKeywordsInMetaTag_},
      {lblMaxNumBytes_, txbMaxNumBytesInMetaTag_}};
  for (const auto& [label, box] : buddies) label->setBuddy(box);

  // Ctrl+Q quits as "Quit" does, from the help window too.
  auto* quit = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q), this);
  quit->setContext(Qt::ApplicationShortcut);
  connect(quit, &QShortcut::activated, this, [this] {
    if (!ending_) cmdQuit_Click();
  });

  // Names for controls without a caption of their own (or with a caption that is not unique);
  // the others are named by their captions. "List words" is left to Qt, which follows its
  // caption when it reads "Stop"; the word count is named as it changes (ShowNumberOfWords).
  struct Description {
    QWidget* control;
    const char* name;  // nullptr: the caption
    const char* description;
  };
  const Description descriptions[] = {
      {cmdInputFile_, nullptr, "Chooses the HTML page in a file dialog"},
      {txbInputFile_, "Input file path", "The path of the HTML page to read"},
      {cmdClearInputFile_, "Clear input file", "Empties the input file path"},
      {chkIgnoreCommonWords_, nullptr, "Leaves out common words such as the and which"},
      {chkIgnoreShortWords_, nullptr, "Leaves out words of the size chosen beside it or less"},
      {cboShortWordSize_, "Short word size", "Words of this many characters or less are short"},
      {lblCharsOrLess_, nullptr, "Caption of the short word size"},
      {cmdReset_, nullptr, "Restores the default settings, keeping the input file and phrases"},
      {lblBeginMetaTagWith_, nullptr, "Caption of the phrase box"},
      {txbBeginMetaTagWith_, "Begin meta tag with",
       "Words and phrases, separated by commas, that open the meta tag"},
      {cmdClearBeginMetaTagWith_, "Clear begin meta tag with", "Empties the phrase box"},
      {lblThresholdFrequency_, nullptr, "Caption of the minimum frequency"},
      {cboThresholdFrequency_, "Min. frequency", "Only words that occur this often are kept"},
      {lblExistingkeywordsWeight_, nullptr, "Caption of the existing keywords weight"},
      {cboExistingKeywordsWeight_, "Existing keywords weight",
       "What a word among the page's own keywords adds; 0 ignores them"},
      {cmdShowExistingKeywordMetaTag_, nullptr,
       "Shows the keywords meta tag that the page already has"},
      {lblTableWeight_, nullptr, "Caption of the table weight"},
      {cboTableWeight_, "Table weight", "What a word inside a table adds; 0 skips tables"},
      {lblBoldWeight_, nullptr, "Caption of the bold weight"},
      {cboBoldWeight_, "Bold weight", "What a word in bold type adds"},
      {lblMaxNumKeywords_, nullptr, "Caption of the maximum number of keywords"},
      {txbMaxNumKeywordsInMetaTag_, "Max. number of keywords in meta tag",
       "At most this many keywords, 5 to 100; empty for no limit"},
      {cmdListWords_, nullptr,
       "Lists the words found with their key value and frequency; stops a running scan"},
      {lblNumberOfWords_, nullptr, "How many words the last scan kept"},
      {lblMaxNumBytes_, nullptr, "Caption of the maximum number of bytes"},
      {txbMaxNumBytesInMetaTag_, "Max. number of bytes in meta tag",
       "At most this many bytes, up to 1000; 0 or empty for no limit"},
      {chkLargeWindow_, nullptr, "Makes the window nearly as tall as the screen"},
      {chkModernMarkup_, nullptr,
       "Reads the page as markup is written today: tags with attributes, strong, hidden text"},
      {cmdGenerateKeywordMetaTag_, nullptr, "Composes the keywords meta tag from the best words"},
      {txbMetaTag_, "Result", "The word list, the meta tag or a message; it can be edited"},
      {Frame1_, "Bottom row", "Help, Copy to clipboard, Quit and the two links"},
      {cmdHelp_, nullptr, "Opens the help window (F1 on some buttons)"},
      {cmdCopyToClipboard_, nullptr, "Copies the result without its statistics lines"},
      {cmdQuit_, nullptr, "Saves the settings and ends the program (Ctrl+Q)"},
      {cmdSaveReport_, nullptr, "Writes an HTML report of the page after a run"},
      {lblVeltrane_, nullptr, "Link: opens the maker's home page in the browser"},
      {lblOnlineDocumentation_, nullptr, "Link: opens the manual in the browser"},
  };
  for (const Description& entry : descriptions) {
    entry.control->setAccessibleDescription(tr(entry.description));
    if (entry.name != nullptr) {
      entry.control->setAccessibleName(tr(entry.name));
    } else if (auto* button = qobject_cast<QAbstractButton*>(entry.control)) {
      if (button != cmdListWords_) button->setAccessibleName(Spoken(button->text()));
    } else if (auto* label = qobject_cast<QLabel*>(entry.control);
               label != nullptr && label != lblNumberOfWords_) {
      label->setAccessibleName(Spoken(label->text()));
    }
  }
  ShowNumberOfWords(QString());
}

void MainWindow::ShowNumberOfWords(const QString& text) {
  lblNumberOfWords_->setText(text);
  lblNumberOfWords_->setAccessibleName(text.isEmpty() ? tr("Number of words found") : text);
}

bool MainWindow::LinkKeyPress(QObject* watched, int key) {
  if (watched != lblVeltrane_ && watched != lblOnlineDocumentation_) return false;
  if (key != Qt::Key_Return && key != Qt::Key_Enter && key != Qt::Key_Space) return false;
  if (watched == lblVeltrane_) {
    lblVeltrane_Click();
  } else {
    lblOnlineDocumentation_Click();
  }
  return true;
}

}  // namespace tagwright
