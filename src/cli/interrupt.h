#pragma once

#include <shared_mutex>

namespace tagwright::cli {

/// Makes SIGINT, SIGTERM and SIGHUP end the program cleanly: from the call on, a thread of
/// its own takes them, lets every page being written finish (or remove its temporary file),
/// and ends the program with status 128 + the signal's number. Call it before any other
/// thread starts, so that every thread leaves these signals to it. A signal that was ignored
/// when the program started (nohup) stays ignored.
void HandleInterrupts();

/// Held while a page is written, from its temporary file to the rename: an interrupt waits
/// until no such scope is open. Once an interrupt came, opening one waits for the end of the
/// program, so nothing new is written.
class PageWriteScope {
 public:
  PageWriteScope();
  PageWriteScope(const PageWriteScope&) = delete;
  PageWriteScope& operator=(const PageWriteScope&) = delete;

 private:
  std::shared_lock<std::shared_mutex> lock_;
};

}  // namespace tagwright::cli
