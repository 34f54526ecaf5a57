#include "file_list.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <climits>
#include <cstring>
#include <map>
#include <memory>
#include <set>
#include <utility>

#include "cli_options.h"
#include "page_problem.h"
#include "util/file_proc.h"

namespace tagwright::cli {

namespace {

std::string Lowered(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return text;
}

bool EndsWithAny(const std::string& name, std::initializer_list<const char*> endings) {
  const std::string lower = Lowered(name.substr(name.rfind('/') + 1));
  return std::any_of(endings.begin(), endings.end(),
                     [&lower](const char* ending) { return lower.ends_with(ending); });
}

// What a folder search takes for list, generate and existing.
bool IsHtmlName(const std::string& name) { return EndsWithAny(name, {".htm", ".html"}); }

std::string TooLongMessage(const char* what) {
  return "the path is longer than the system allows (" + std::to_string(PATH_MAX) + " bytes); " +
         what;
}

using FileId = std::pair<dev_t, ino_t>;

class Lister {
 public:
  explicit Lister(const ListOptions& options) : options_(options) {}

  void AddArgument(const std::string& file) {
    if (file == kStandardInput) {
      items_.push_back({file, "", "", ""});
      return;
    }
    if (file.empty()) {
      Problem(file, kInputFileNotSpecified, reason::kNotFound);
      return;
    }
    struct stat info {};
    if (::stat(file.c_str(), &info) != 0) {
      const int code = errno;
      if (code == ENOENT) {
        Problem(file, kInputFileNotFound, reason::kNotFound);
      } else if (code == ENAMETOOLONG) {
        Problem(file, TooLongMessage("it is left alone."), reason::kPathTooLong);
      } else {
        Problem(file, std::strerror(code), reason::kUnreadable);
      }
      return;
    }
    if (S_ISDIR(info.st_mode)) {
      if (options_.recursive) {
        AddFolder(file, info);
      } else {
        Problem(file, "is a folder (use -r to search it)", reason::kNotAPage);
      }
      return;
    }
    if (!S_ISREG(info.st_mode)) {
      Problem(file, "not a regular file", reason::kNotAPage);
      return;
    }
    if (options_.pagesOnly) {
      if (!IsPageName(file)) {
        Problem(file,
                "only names ending in .htm, .html, .shtml or .xhtml are rewritten; it is left "
                "alone.",
                reason::kNotAPage);
        return;
      }
    } else if (const FileSpecCheck check = CheckInputFileSpec(file);
               check != FileSpecCheck::Valid) {
      Problem(file, FileSpecMessage(check),
              check == FileSpecCheck::NotFound ? reason::kNotFound : reason::kNotAPage);
      return;
    }
    AddFile(file, info);
  }

  std::vector<InputItem> Take() { return std::move(items_); }

 private:
  struct Entry {
    std::string name;
    struct stat info;
    // A link that leads nowhere: the message and reason to report.
    std::string error;
    const char* reason = nullptr;
  };

  void Problem(const std::string& path, const std::string& message, const char* why) {
    items_.push_back({path, message, why, ""});
  }

  void AddFile(const std::string& path, const struct stat& info) {
    if (options_.pagesOnly) {
      const auto [known, added] = files_.try_emplace(FileId(info.st_dev, info.st_ino), path);
      if (!added) {
        items_.push_back({path, "", "", known->second});
        return;
      }
    }
    items_.push_back({path, "", "", ""});
  }

  bool IsWanted(const std::string& name) const {
    return options_.pagesOnly ? IsPageName(name) : IsHtmlName(name);
  }

  // Adds the pages under `folder`, each folder's entries in byte order of their names, a
  // sub-folder's pages where its name sorts. A folder is entered once, so followed links make
  // no loop; the depth is bounded by the length of a path.
  void AddFolder(const std::string& folder, const struct stat& info) {
    if (!folders_.insert(FileId(info.st_dev, info.st_ino)).second) return;
    std::vector<Entry> entries;
    if (!ReadFolder(folder, entries)) return;
    std::sort(entries.begin(), entries.end(),
              [](const Entry& a, const Entry& b) { return a.name < b.name; });
    const std::string prefix = folder.ends_with('/') ? folder : folder + "/";
    for (const Entry& entry : entries) {
      const std::string path = prefix + entry.name;
      // open() and opendir() take a path of fewer than PATH_MAX bytes.
      const bool tooLong = path.size() >= PATH_MAX;
      if (!entry.error.empty()) {
        Problem(path, entry.error, entry.reason);
      } else if (S_ISDIR(entry.info.st_mode)) {
        if (tooLong) {
          Problem(path, TooLongMessage("the folder is not searched."), reason::kPathTooLong);
        } else {
          AddFolder(path, entry.info);
        }
      } else if (S_ISREG(entry.info.st_mode) && IsWanted(entry.name)) {
        if (tooLong) {
          Problem(path, TooLongMessage("it is left alone."), reason::kPathTooLong);
        } else {
          AddFile(path, entry.info);
        }
      }
    }
  }

  // The entries of `folder` with what they are (through a link only when following links);
  // a link that leads nowhere is reported when it has a page's name, and skipped otherwise.
  bool ReadFolder(const std::string& folder, std::vector<Entry>& entries) {
    const std::unique_ptr<DIR, int (*)(DIR*)> dir(::opendir(folder.c_str()), &::closedir);
    if (!dir) {
      Problem(folder, std::strerror(errno), reason::kUnreadable);
      return false;
    }
    errno = 0;
    while (const dirent* found = ::readdir(dir.get())) {
      const std::string name = found->d_name;
      if (name == "." || name == "..") continue;
      struct stat info {};
      if (::fstatat(::dirfd(dir.get()), name.c_str(), &info, AT_SYMLINK_NOFOLLOW) != 0) {
        // A name gone in between is no problem.
        if (errno != ENOENT) {
          entries.push_back({name, info, std::strerror(errno), reason::kUnreadable});
        }
        errno = 0;
        continue;
      }
      if (S_ISLNK(info.st_mode)) {
        if (!options_.follow) continue;
        if (::fstatat(::dirfd(dir.get()), name.c_str(), &info, 0) != 0) {
          const int code = errno;
          if (IsWanted(name)) {
            entries.push_back({name, info,
                               std::string("cannot follow the link: ") + std::strerror(code),
                               code == ENOENT ? reason::kNotFound : reason::kUnreadable});
          }
          errno = 0;
          continue;
        }
      }
      entries.push_back({name, info, "", nullptr});
      errno = 0;
    }
    if (errno != 0) {
      Problem(folder, std::strerror(errno), reason::kUnreadable);
      return false;
    }
    return true;
  }

  const ListOptions& options_;
  std::vector<InputItem> items_;
  std::set<FileId> folders_;
  std::map<FileId, std::string> files_;
};

}  // namespace

bool IsPageName(const std::string& path) {
  return EndsWithAny(path, {".htm", ".html", ".shtml", ".xhtml"});
}

std::vector<InputItem> ListInputs(const std::vector<std::string>& files,
                                  const ListOptions& options) {
  Lister lister(options);
  for (const std::string& file : files) lister.AddArgument(file);
  return lister.Take();
}

}  // namespace tagwright::cli
