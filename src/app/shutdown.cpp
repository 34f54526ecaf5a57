#include "app/shutdown.h"

#include <fcntl.h>
#include <unistd.h>

#include <QGuiApplication>
#include <QSessionManager>
#include <QSocketNotifier>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <utility>

#include "app/main_window.h"

namespace tagwright {
namespace {

constexpr int kSignals[] = {SIGTERM, SIGHUP, SIGINT};

// The write end of the watch's pipe, for the signal handler (which can reach nothing else).
volatile std::sig_atomic_t signalPipe = -1;

extern "C" void OnTerminationSignal(int signal) {
  const int saved = errno;
  const auto byte = static_cast<char>(signal);
  [[maybe_unused]] const ssize_t written = ::write(signalPipe, &byte, 1);
  errno = saved;
}

}  // namespace

TerminationWatch::TerminationWatch(std::function<void(int signal)> end, QObject* parent)
    : QObject(parent), end_(std::move(end)) {
  if (::pipe2(pipe_, O_CLOEXEC | O_NONBLOCK) != 0) return;
  signalPipe = pipe_[1];
  notifier_ = new QSocketNotifier(pipe_[0], QSocketNotifier::Read, this);
  connect(notifier_, &QSocketNotifier::activated, this, &TerminationWatch::Signalled);
  struct sigaction action {};
  action.sa_handler = OnTerminationSignal;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESTART;
  for (int signal : kSignals) ::sigaction(signal, &action, nullptr);
}

TerminationWatch::~TerminationWatch() {
  if (pipe_[0] < 0) return;
  for (int signal : kSignals) std::signal(signal, SIG_DFL);
  signalPipe = -1;
  delete notifier_;
  ::close(pipe_[0]);
  ::close(pipe_[1]);
}

void TerminationWatch::Signalled() {
  char bytes[16];
  int signal = 0;
  for (ssize_t got; (got = ::read(pipe_[0], bytes, sizeof bytes)) > 0;) {
    if (signal == 0) signal = bytes[0];
  }
  if (signal != 0) end_(signal);
}

void EndWithTheSession(MainWindow& window) {
  new TerminationWatch(
      [&window](int signal) {
        // A modal box may be running its own event loop: nothing waits for it. The state is
        // saved (messages go to standard error), then the signal ends the program as it would
        // have without a handler.
        window.EndOnSignal();
        std::fflush(nullptr);
        std::signal(signal, SIG_DFL);
        std::raise(signal);
        std::_Exit(128 + signal);  // only if the signal is blocked
      },
      &window);
  // The session manager asks for the data before it ends the session (and may still cancel).
  QObject::connect(qGuiApp, &QGuiApplication::commitDataRequest, &window,
                   [&window](QSessionManager&) {
                     if (!window.Ending()) window.SaveState();
                   });
}

}  // namespace tagwright
