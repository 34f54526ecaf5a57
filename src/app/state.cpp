// The state file tgw.usr (read at start, written at quit) and the default settings.

#include "app/main_window.h"
#include "app/text_convert.h"
#include "util/state_file.h"

namespace tagwright {

bool MainWindow::LoadState() {
  const std::optional<StateValues> values = LoadStateFile(LocalPath(stateFile_));
  return values && state_->Apply(*values);
}

void MainWindow::SaveState() {
  const std::string error = SaveStateFile(LocalPath(stateFile_), state_->Values());
  if (!error.empty()) {
    Message(tr("Error when attempting to save the state: ") + QString::fromStdString(error),
            tr("Save state"), MessageIcon::Exclamation);
  }
}

void MainWindow::ResetSettings(bool keepTexts) {
  InvalidateAnalysis();
  state_->ApplyDefaults(keepTexts);
}

void MainWindow::cmdReset_Click() { ResetSettings(true); }

}  // namespace tagwright
