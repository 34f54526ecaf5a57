#pragma once

#include <QString>
#include <QStringList>
#include <QWidget>

#include <memory>
#include <string>
#include <string_view>

#include "app/fake_platform.h"
#include "app/main_window.h"
#include "support/temp_dir.h"

namespace tagwright::test {

/// A main window on the fake desktop with its state file in a fresh temporary folder.
class WindowHarness {
 public:
  WindowHarness() = default;
  ~WindowHarness();

  FakePlatform platform;

  const TempDir& Dir() const { return dir_; }
  QString StateFile() const;
  /// Writes the state file as bytes.
  void WriteState(std::string_view content) const;
  /// The state file as bytes ("" when there is none).
  std::string ReadState() const;
  /// Writes a file into the folder and returns its full path.
  QString Page(const std::string& name, std::string_view content) const;

  /// A new window, started (Form_Load) and active. A window started before is dropped.
  MainWindow& Start();
  MainWindow& Window() { return *window_; }

  /// The window's control of this name; fails the test when there is none.
  template <class Control>
  Control* Find(const char* name) const {
    auto* control = window_->findChild<Control*>(QLatin1String(name));
    if (control == nullptr) qFatal("no control %s", name);
    return control;
  }
  /// The object name of the control that has the focus.
  QString FocusName() const;

 private:
  TempDir dir_;
  std::unique_ptr<MainWindow> window_;
};

/// Clicks a control with the left mouse button.
void Click(QWidget* control);

/// An HTML page with a title, a heading and a few repeated words.
std::string SamplePage();

/// The controls that take input, and the links, in the window's tab order.
inline const QStringList kTabOrder = {"txbInputFile",
                                      "chkIgnoreShortWords",
                                      "txbBeginMetaTagWith",
                                      "txbMaxNumKeywordsInMetaTag",
                                      "txbMetaTag",
                                      "cboShortWordSize",
                                      "cmdInputFile",
                                      "cmdGenerateKeywordMetaTag",
                                      "cmdClearInputFile",
                                      "cmdClearBeginMetaTagWith",
                                      "txbMaxNumBytesInMetaTag",
                                      "cmdListWords",
                                      "cboThresholdFrequency",
                                      "cmdReset",
                                      "cmdCopyToClipboard",
                                      "cmdSaveReport",
                                      "cmdQuit",
                                      "cmdHelp",
                                      "chkIgnoreCommonWords",
                                      "lblOnlineDocumentation",
                                      "lblVeltrane",
                                      "cboTableWeight",
                                      "cboBoldWeight",
                                      "chkLargeWindow",
                                      "chkModernMarkup",
                                      "cboExistingKeywordsWeight",
                                      "cmdShowExistingKeywordMetaTag"};

}  // namespace tagwright::test
