#include "interrupt.h"

#include <pthread.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <csignal>
#include <cstring>
#include <string>
#include <thread>

namespace tagwright::cli {

namespace {

std::shared_mutex& WriteMutex() {
  static std::shared_mutex mutex;
  return mutex;
}

std::atomic<bool> stopping{false};

const char* SignalName(int signal) {
  switch (signal) {
    case SIGINT:
      return "SIGINT";
    case SIGTERM:
      return "SIGTERM";
    default:
      return "SIGHUP";
  }
}

[[noreturn]] void Stop(int signal) {
  // Writers that come later see the flag and wait; those at work are waited for.
  stopping = true;
  WriteMutex().lock();
  const std::string message = std::string("tagwright-cli: stopped by ") + SignalName(signal) +
                              "; no page is half-written.\n";
  [[maybe_unused]] const ssize_t ignored = ::write(STDERR_FILENO, message.data(), message.size());
  ::_exit(128 + signal);
}

}  // namespace

void HandleInterrupts() {
  sigset_t signals;
  sigemptyset(&signals);
  for (const int signal : {SIGINT, SIGTERM, SIGHUP}) sigaddset(&signals, signal);
  if (::pthread_sigmask(SIG_BLOCK, &signals, nullptr) != 0) return;
  std::thread([signals] {
    int signal = 0;
    while (::sigwait(&signals, &signal) != 0) {
    }
    Stop(signal);
  }).detach();
}

PageWriteScope::PageWriteScope() {
  // Once stopping, a new writer would only delay the end: it waits for it instead.
  while (stopping) std::this_thread::sleep_for(std::chrono::hours(1));
  lock_ = std::shared_lock(WriteMutex());
}

}  // namespace tagwright::cli
