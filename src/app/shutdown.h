#pragma once

#include <QObject>

#include <functional>

class QSocketNotifier;

namespace tagwright {

/// Ends the program as Quit does when it is asked to terminate (SIGTERM, SIGHUP): the signal
/// handler only writes to a pipe, and `end` runs in the event loop, where the window may save
/// its state. One watch at a time; its end restores the signals' default handling.
class TerminationWatch final : public QObject {
  Q_OBJECT
 public:
  explicit TerminationWatch(std::function<void()> end, QObject* parent = nullptr);
  ~TerminationWatch() override;
  TerminationWatch(const TerminationWatch&) = delete;
  TerminationWatch& operator=(const TerminationWatch&) = delete;

 private:
  void Signalled();

  std::function<void()> end_;
  int pipe_[2] = {-1, -1};
  QSocketNotifier* notifier_ = nullptr;
};

class MainWindow;

/// The window's state is saved, and the program ends, at the end of the desktop session and
/// on SIGTERM and SIGHUP, exactly as on Quit.
void EndWithTheSession(MainWindow& window);

}  // namespace tagwright
