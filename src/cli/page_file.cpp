#include "page_file.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <utility>

#include "file_attributes.h"
#include "interrupt.h"

namespace tagwright::cli {

namespace {

constexpr const char* kLeftAlone = "; it is left alone.";

std::string SystemError(const std::string& what) { return what + ": " + std::strerror(errno); }

PageProblem SystemProblem(const std::string& what, const char* why) {
  return {SystemError(what) + kLeftAlone, why};
}

PageProblem PathTooLong() {
  return {"the path is longer than the system allows (" + std::to_string(PATH_MAX) + " bytes)" +
              kLeftAlone,
          reason::kPathTooLong};
}

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
int OpenRegular(const std::string& path, struct stat& info, PageProblem& problem) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) {
    if (errno == ENOENT) {
      problem = {"Input file not found.", reason::kNotFound};
    } else if (errno == ENAMETOOLONG) {
      problem = PathTooLong();
    } else {
      problem = {SystemError("cannot open"), reason::kUnreadable};
    }
    return -1;
  }
  if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
    ::close(fd);
    problem = {"not a regular file", reason::kNotAPage};
    return -1;
  }
  return fd;
}

bool ReadAll(int fd, std::size_t sizeHint, std::string& bytes, PageProblem& problem) {
  bytes.clear();
  bytes.reserve(sizeHint);
  char buffer[1 << 16];
  for (;;) {
    const ssize_t got = ::read(fd, buffer, sizeof buffer);
    if (got < 0) {
      if (errno == EINTR) continue;
      problem = {SystemError("cannot read"), reason::kUnreadable};
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

// The file that a page's name leads to, through any links: the file that is replaced.
bool Resolve(const std::string& path, std::string& target, PageProblem& problem) {
  const std::unique_ptr<char, decltype(&std::free)> real(::realpath(path.c_str(), nullptr),
                                                         &std::free);
  if (!real) {
    problem = errno == ENAMETOOLONG ? PathTooLong()
                                    : SystemProblem("cannot resolve", reason::kUnreadable);
    return false;
  }
  target = real.get();
  return true;
}

bool CheckWritable(const std::string& target, const struct stat& info, bool breakHardLinks,
                   PageProblem& problem) {
  // A page without a write bit is read-only even for a user whom the system lets write it.
  if ((info.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0) {
    problem = {std::string("the page is read-only") + kLeftAlone, reason::kReadOnly};
    return false;
  }
  if (::faccessat(AT_FDCWD, target.c_str(), W_OK, AT_EACCESS) != 0) {
    problem = errno == EROFS ? SystemProblem("the page cannot be written", reason::kReadOnly)
                             : SystemProblem("the page cannot be written", reason::kNotWritable);
    return false;
  }
  if (info.st_nlink > 1 && !breakHardLinks) {
    problem = {"the page has " + std::to_string(info.st_nlink) +
                   " hard links, which replacing it would split; it is left alone "
                   "(--break-hard-links replaces this name only).",
               reason::kHardLinks};
    return false;
  }
  return true;
}

// A file that is removed when the object goes, unless released.
class TempFile {
 public:
  TempFile() = default;
  ~TempFile() {
    if (!path_.empty()) ::unlink(path_.c_str());
  }
  TempFile(const TempFile&) = delete;
  TempFile& operator=(const TempFile&) = delete;

  // Creates a hidden temporary file beside `target` holding `bytes` with `attributes`,
  // flushed to disk.
  bool Write(const std::string& target, std::string_view bytes, const FileAttributes& attributes,
             PageProblem& problem) {
    const std::string folder = Folder(target);
    // The page's name, cut short so the temporary name stays within the file system's limit.
    const std::string name = target.substr(target.rfind('/') + 1).substr(0, 100);
    std::string temp = (folder == "/" ? "" : folder) + "/." + name + ".tagwright-XXXXXX";
    const int raw = ::mkstemp(temp.data());
    if (raw < 0) {
      problem = SystemProblem("cannot create a temporary file in " + folder, reason::kWriteFailed);
      return false;
    }
    path_ = std::move(temp);
    Fd fd(raw);
    if (!WriteAll(fd.get(), bytes)) {
      problem = SystemProblem("cannot write " + path_, reason::kWriteFailed);
      return false;
    }
    if (!attributes.CopyTo(fd.get(), problem)) return false;
    if (::fsync(fd.get()) != 0 || ::close(fd.release()) != 0) {
      problem = SystemProblem("cannot write " + path_, reason::kWriteFailed);
      return false;
    }
    return true;
  }

  const std::string& Path() const { return path_; }
  void Release() { path_.clear(); }

 private:
  std::string path_;
};

// Renames `from` to `to` unless `to` exists (errno EEXIST then).
bool MoveWithoutReplacing(const std::string& from, const std::string& to) {
  if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0) {
    return true;
  }
  if (errno != EINVAL && errno != ENOSYS) return false;
  // A file system that cannot rename so: a new link fails on an existing name too.
  if (::link(from.c_str(), to.c_str()) != 0) return false;
  ::unlink(from.c_str());
  return true;
}

// Moves the backup's temporary file to target + suffix or, when that exists, to the first
// free numbered backup name.
bool PlaceBackup(TempFile& temp, const std::string& target, const std::string& suffix,
                 PageProblem& problem) {
  std::string name = target + suffix;
  for (unsigned long number = 1; !MoveWithoutReplacing(temp.Path(), name); ++number) {
    if (errno != EEXIST) {
      problem = SystemProblem("cannot keep the backup " + name, reason::kWriteFailed);
      return false;
    }
    name = target + ".~" + std::to_string(number) + "~";
  }
  temp.Release();
  return true;
}

}  // namespace

bool ReadPageFile(const std::string& path, PageFile& page, PageProblem& problem) {
  const int raw = OpenRegular(path, page.info, problem);
  if (raw < 0) return false;
  Fd fd(raw);
  return ReadAll(fd.get(), static_cast<std::size_t>(page.info.st_size), page.bytes, problem);
}

std::string WideUnicodeForm(std::string_view bytes) {
  using namespace std::string_view_literals;
  if (bytes.starts_with("\xFF\xFE\0\0"sv) || bytes.starts_with("\0\0\xFE\xFF"sv)) return "UTF-32";
  if (bytes.starts_with("\xFF\xFE"sv) || bytes.starts_with("\xFE\xFF"sv)) return "UTF-16";
  // Without a byte order mark: a page begins with markup, and in these forms the first "<"
  // has zero bytes beside it.
  const std::size_t less = bytes.substr(0, 4096).find('<');
  if (less == std::string_view::npos) return {};
  const auto zeros = [&](std::size_t from, std::size_t count) {
    return from + count <= bytes.size() &&
           bytes.substr(from, count).find_first_not_of('\0') == std::string_view::npos;
  };
  if (zeros(less + 1, 3) || (less >= 3 && zeros(less - 3, 3))) return "UTF-32";
  if (zeros(less + 1, 1) || (less >= 1 && zeros(less - 1, 1))) return "UTF-16";
  return {};
}

bool CheckReplaceable(const std::string& path, bool breakHardLinks, PageProblem& problem) {
  std::string target;
  if (!Resolve(path, target, problem)) return false;
  struct stat info {};
  if (::stat(target.c_str(), &info) != 0) {
    problem = SystemProblem("cannot read", reason::kUnreadable);
    return false;
  }
  return CheckWritable(target, info, breakHardLinks, problem);
}

bool ReplacePageFile(const std::string& path, const PageFile& old, std::string_view bytes,
                     const ReplaceOptions& options, PageProblem& problem) {
  const PageProblem changed = {"the page changed on disk while it was processed; it is left alone.",
                               reason::kChanged};
  std::string target;
  if (!Resolve(path, target, problem)) return false;
  struct stat info {};
  const int raw = OpenRegular(target, info, problem);
  if (raw < 0) return false;
  Fd page(raw);
  if (!SameFile(info, old.info)) {
    problem = changed;
    return false;
  }
  if (!CheckWritable(target, info, options.breakHardLinks, problem)) return false;
  FileAttributes attributes;
  if (std::string error; !attributes.Read(page.get(), error)) {
    problem = {error + kLeftAlone, reason::kUnreadable};
    return false;
  }
  const auto unchanged = [&] {
    struct stat now {};
    std::string current;
    const int again = OpenRegular(target, now, problem);
    if (again < 0) return false;
    Fd fd(again);
    if (!SameFile(now, old.info) ||
        !ReadAll(fd.get(), static_cast<std::size_t>(now.st_size), current, problem) ||
        current != old.bytes) {
      problem = changed;
      return false;
    }
    return true;
  };

  const PageWriteScope scope;
  TempFile backup;
  TempFile replacement;
  if (!options.backupSuffix.empty() && !backup.Write(target, old.bytes, attributes, problem)) {
    return false;
  }
  if (!replacement.Write(target, bytes, attributes, problem) || !unchanged()) return false;
  if (!options.backupSuffix.empty() &&
      !PlaceBackup(backup, target, options.backupSuffix, problem)) {
    return false;
  }
  if (::rename(replacement.Path().c_str(), target.c_str()) != 0) {
    problem = SystemProblem("cannot replace " + target, reason::kWriteFailed);
    return false;
  }
  replacement.Release();
  // The rename itself is made durable by flushing the folder.
  if (const int dir = ::open(Folder(target).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
      dir >= 0) {
    ::fsync(dir);
    ::close(dir);
  }
  return true;
}

}  // namespace tagwright::cli
