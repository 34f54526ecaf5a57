#include "file_list.h"

#include <sys/stat.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <system_error>

#include "cli_options.h"
#include "util/file_proc.h"

namespace tagwright::cli {

namespace {

namespace fs = std::filesystem;

bool HasPageExtension(const fs::path& path) {
  std::string extension = path.extension().string();
  std::transform(extension.begin(), extension.end(), extension.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return extension == ".htm" || extension == ".html";
}

// Adds the pages under `folder`, each folder's entries in byte order of their names, a
// sub-folder's pages where its name sorts. Folders are entered only when they are real
// folders, never through a link, so there are no loops; the depth is bounded by the length
// of a path.
void AddFolder(const fs::path& folder, std::vector<InputItem>& items) {
  std::error_code error;
  std::vector<fs::path> entries;
  for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
    entries.push_back(it->path());
  }
  if (error) {
    items.push_back({folder.string(), error.message()});
    return;
  }
  std::sort(entries.begin(), entries.end());
  for (const fs::path& entry : entries) {
    std::error_code ignored;
    if (fs::is_directory(fs::symlink_status(entry, ignored))) {
      AddFolder(entry, items);
    } else if (HasPageExtension(entry) && fs::is_regular_file(fs::status(entry, ignored))) {
      items.push_back({entry.string(), ""});
    }
  }
}

}  // namespace

std::vector<InputItem> ListInputs(const std::vector<std::string>& files, bool recursive) {
  std::vector<InputItem> items;
  for (const std::string& file : files) {
    if (file == kStandardInput) {
      items.push_back({file, ""});
      continue;
    }
    if (file.empty()) {
      items.push_back({file, kInputFileNotSpecified});
      continue;
    }
    struct stat info {};
    if (::stat(file.c_str(), &info) != 0) {
      const int code = errno;
      items.push_back({file, code == ENOENT ? kInputFileNotFound : std::strerror(code)});
      continue;
    }
    if (S_ISDIR(info.st_mode)) {
      if (recursive) {
        AddFolder(file, items);
      } else {
        items.push_back({file, "is a folder (use -r to search it)"});
      }
      continue;
    }
    if (!S_ISREG(info.st_mode)) {
      items.push_back({file, "not a regular file"});
      continue;
    }
    const FileSpecCheck check = CheckInputFileSpec(file);
    items.push_back({file, check == FileSpecCheck::Valid ? "" : FileSpecMessage(check)});
  }
  return items;
}

}  // namespace tagwright::cli
