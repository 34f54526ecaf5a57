#include "page_file.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <utility>

namespace tagwright::cli {

namespace {

std::string SystemError(const std::string& what) { return what + ": " + std::strerror(errno); }

class Fd {
 public:
  explicit Fd(int fd) : fd_(fd) {}
  ~Fd() {
    if (fd_ >= 0) ::close(fd_);
  }
  Fd(const Fd&) = delete;
  Fd& operator=(const Fd&) = delete;
  int get() const { return fd_; }
  int release() { return std::exchange(fd_, -1); }

 private:
  int fd_;
};

// Opens `path` for reading if it is a regular file; the open never waits (a FIFO would).
int OpenRegular(const std::string& path, struct stat& info, std::string& error) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) {
    error = errno == ENOENT ? "Input file not found." : SystemError("cannot open");
    return -1;
  }
  if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
    ::close(fd);
    error = "not a regular file";
    return -1;
  }
  return fd;
}

bool ReadAll(int fd, std::size_t sizeHint, std::string& bytes, std::string& error) {
  bytes.clear();
  bytes.reserve(sizeHint);
  char buffer[1 << 16];
  for (;;) {
    const ssize_t got = ::read(fd, buffer, sizeof buffer);
    if (got < 0) {
      if (errno == EINTR) continue;
      error = SystemError("cannot read");
      return false;
    }
    if (got == 0) return true;
    bytes.append(buffer, static_cast<std::size_t>(got));
  }
}

bool WriteAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t put = ::write(fd, bytes.data(), bytes.size());
    if (put < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    bytes.remove_prefix(static_cast<std::size_t>(put));
  }
  return true;
}

bool SameFile(const struct stat& a, const struct stat& b) {
  return a.st_dev == b.st_dev && a.st_ino == b.st_ino && a.st_size == b.st_size &&
         a.st_mtim.tv_sec == b.st_mtim.tv_sec && a.st_mtim.tv_nsec == b.st_mtim.tv_nsec;
}

std::string Folder(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}

// Writes `bytes` to `target` through a temporary file in its folder: written, given `mode`
// (and the owner, where allowed), flushed and renamed over `target`. `check`, when given,
// runs just before the rename and may refuse it.
template <typename Check>
bool WriteAtomically(const std::string& target, std::string_view bytes, const struct stat& like,
                     std::string& error, Check check) {
  const std::string folder = Folder(target);
  // The page's name, cut short so the temporary name stays within the file system's limit.
  const std::string name = target.substr(target.rfind('/') + 1).substr(0, 100);
  std::string temp = (folder == "/" ? "" : folder) + "/." + name + ".tagwright-XXXXXX";
  const int raw = ::mkstemp(temp.data());
  if (raw < 0) {
    error = SystemError("cannot create a temporary file in " + folder);
    return false;
  }
  Fd fd(raw);
  const auto fail = [&](const std::string& message) {
    error = message;
    ::unlink(temp.c_str());
    return false;
  };
  if (!WriteAll(fd.get(), bytes)) return fail(SystemError("cannot write " + temp));
  // Keeping the owner needs the right to; without it the new page belongs to its writer.
  if (::fchown(fd.get(), like.st_uid, like.st_gid) != 0) errno = 0;
  if (::fchmod(fd.get(), like.st_mode & 07777) != 0) return fail(SystemError("cannot set mode"));
  if (::fsync(fd.get()) != 0) return fail(SystemError("cannot write " + temp));
  if (::close(fd.release()) != 0) return fail(SystemError("cannot write " + temp));
  if (!check()) return fail(error);
  if (::rename(temp.c_str(), target.c_str()) != 0) {
    return fail(SystemError("cannot replace " + target));
  }
  // The rename itself is made durable by flushing the folder.
  if (const int dir = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC); dir >= 0) {
    ::fsync(dir);
    ::close(dir);
  }
  return true;
}

}  // namespace

bool ReadPageFile(const std::string& path, PageFile& page, std::string& error) {
  const int raw = OpenRegular(path, page.info, error);
  if (raw < 0) return false;
  Fd fd(raw);
  return ReadAll(fd.get(), static_cast<std::size_t>(page.info.st_size), page.bytes, error);
}

bool ReplacePageFile(const std::string& path, const PageFile& old, std::string_view bytes,
                     const std::string& backupSuffix, std::string& error) {
  // A link is replaced at its target, so the link stays a link.
  std::unique_ptr<char, decltype(&std::free)> real(::realpath(path.c_str(), nullptr), &std::free);
  if (!real) {
    error = SystemError("cannot resolve");
    return false;
  }
  const std::string target = real.get();
  const auto unchanged = [&] {
    struct stat now {};
    std::string current;
    const int raw = OpenRegular(target, now, error);
    if (raw < 0) return false;
    Fd fd(raw);
    if (!SameFile(now, old.info) ||
        !ReadAll(fd.get(), static_cast<std::size_t>(now.st_size), current, error) ||
        current != old.bytes) {
      error = "the page changed on disk while it was processed; it is left alone";
      return false;
    }
    return true;
  };
  if (!backupSuffix.empty()) {
    if (!WriteAtomically(path + backupSuffix, old.bytes, old.info, error, unchanged)) {
      return false;
    }
  }
  return WriteAtomically(target, bytes, old.info, error, unchanged);
}

}  // namespace tagwright::cli
