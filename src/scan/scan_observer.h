#pragma once

#include <cstdint>
#include <string_view>

namespace tagwright {

/// What a scan tells its caller as it goes. Every call comes from the scanning thread.
class ScanObserver {
 public:
  virtual ~ScanObserver() = default;
  /// A word was appended to the word table; `numWords` is the new count.
  virtual void OnNewWord(std::string_view word, std::int64_t numWords) {
    (void)word;
    (void)numWords;
  }
  /// A chance to yield: called after every line and every few thousand scan steps. A window
  /// processes its events here (deciding itself from the clock whether it is time to).
  virtual void OnYield() {}
  /// Asked after every line and after every yield within a line: true ends the scan there,
  /// keeping the words found so far.
  virtual bool StopRequested() { return false; }
};

}  // namespace tagwright
