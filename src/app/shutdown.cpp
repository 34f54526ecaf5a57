#include "app/shutdown.h"

#include <fcntl.h>
#include <unistd.h>

#include <QGuiApplication>
#include <QSessionManager>
#include <QSocketNotifier>

#include <cerrno>
#include <csignal>
#include <utility>

#include "app/main_window.h"

namespace tagwright {
namespace {

constexpr int kSignals[] = {SIGTERM, SIGHUP};

// The write end of the watch's pipe, for the signal handler (which can reach nothing else).
volatile std::sig_atomic_t signalPipe = -1;

extern "C" void OnTerminationSignal(int) {
  const int saved = errno;
  const char byte = 1;
  [[maybe_unused]] const ssize_t written = ::write(signalPipe, &byte, 1);
  errno = saved;
}

}  // namespace

TerminationWatch::TerminationWatch(std::function<void()> end, QObject* parent)
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
  while (::read(pipe_[0], bytes, sizeof bytes) > 0) {
  }
  end_();
}

void EndWithTheSession(MainWindow& window) {
  new TerminationWatch([&window] { window.Form_Unload(); }, &window);
  // The session manager asks for the data before it ends the session (and may still cancel).
  QObject::connect(qGuiApp, &QGuiApplication::commitDataRequest, &window,
                   [&window](QSessionManager&) {
                     if (!window.Ending()) window.SaveState();
                   });
}

}  // namespace tagwright
