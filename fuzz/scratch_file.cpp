#include "scratch_file.h"

#include <sys/mman.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>

namespace tagwright::fuzz {

ScratchFile::ScratchFile() {
  fd_ = ::memfd_create("tagwright-fuzz", 0);
  Require(fd_ >= 0, "memfd_create failed");
  // Opening this path opens the memory file afresh, as any other file.
  path_ = "/proc/self/fd/" + std::to_string(fd_);
}

ScratchFile::~ScratchFile() { ::close(fd_); }

// Not const: it changes the file that the object stands for.
// NOLINTNEXTLINE(readability-make-member-function-const)
void ScratchFile::Write(std::string_view bytes) {
  Require(::ftruncate(fd_, 0) == 0, "ftruncate failed");
  std::size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t wrote =
        ::pwrite(fd_, bytes.data() + done, bytes.size() - done, static_cast<off_t>(done));
    Require(wrote > 0, "pwrite failed");
    done += static_cast<std::size_t>(wrote);
  }
}

void Require(bool condition, const char* what) {
  if (condition) return;
  std::fprintf(stderr, "Requirement failed: %s\n", what);
  std::abort();
}

}  // namespace tagwright::fuzz
