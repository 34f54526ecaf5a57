#pragma once

#include <QObject>

#include <functional>

class QSocketNotifier;

namespace tagwright {

/// Runs `end` with the signal's number when the program is asked to terminate (SIGTERM,
/// SIGHUP, SIGINT): the signal handler only writes to a pipe, and `end` runs in whichever
/// event loop is running, a modal box's included. One watch at a time; its end restores the
/// signals' default handling.
class TerminationWatch final : public QObject {
  Q_OBJECT
 public:
  explicit TerminationWatch(std::function<void(int signal)> end, QObject* parent = nullptr);
  ~TerminationWatch() override;
  TerminationWatch(const TerminationWatch&) = delete;
  TerminationWatch& operator=(const TerminationWatch&) = delete;

 private:
  void Signalled();

  std::function<void(int signal)> end_;
  int pipe_[2] = {-1, -1};
  QSocketNotifier* notifier_ = nullptr;
};

class MainWindow;

/// The window's state is saved at the end of the desktop session, as on Quit. On SIGTERM,
/// SIGHUP and SIGINT the state is saved too, without any message box (a failure goes to
/// standard error), and the program ends at once by that signal, whatever box is open.
void EndWithTheSession(MainWindow& window);

}  // namespace tagwright
