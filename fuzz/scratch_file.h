#pragma once

#include <string>
#include <string_view>

namespace tagwright::fuzz {

/// An anonymous file in memory that the code under test opens by path, rewritten for every
/// input, so the fuzz targets read through the same file code as the programs and leave
/// nothing behind when they crash.
class ScratchFile {
 public:
  ScratchFile();
  ~ScratchFile();
  ScratchFile(const ScratchFile&) = delete;
  ScratchFile& operator=(const ScratchFile&) = delete;

  /// Replaces the content with `bytes`.
  void Write(std::string_view bytes);
  /// A path that opens the file.
  const std::string& Path() const { return path_; }

 private:
  int fd_ = -1;
  std::string path_;
};

/// Ends the process with `what` when `condition` is false, so the fuzzer records a crash.
void Require(bool condition, const char* what);

}  // namespace tagwright::fuzz
