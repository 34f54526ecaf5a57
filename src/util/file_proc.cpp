#include "util/file_proc.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>

namespace tagwright {

bool FileExists(const std::string& path) {
  if (path.empty()) return false;
  struct stat info {};
  return ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

bool MayWrite(const std::string& path) {
  struct stat info {};
  if (path.empty() || ::stat(path.c_str(), &info) != 0) return false;
  const int wanted = S_ISDIR(info.st_mode) ? W_OK | X_OK : W_OK;
  return ::access(path.c_str(), wanted) == 0 && (info.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) != 0;
}

FileSpecCheck CheckInputFileSpec(const std::string& path) {
  // The point must belong to the file name, not to a folder name.
  const std::size_t dot = path.rfind('.');
  const std::size_t slash = path.rfind('/');
  if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) {
    return FileSpecCheck::BadForm;
  }
  std::string extension = path.substr(dot + 1);
  std::transform(extension.begin(), extension.end(), extension.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  if (extension.find("htm") == std::string::npos) return FileSpecCheck::BadExtension;
  if (!FileExists(path)) return FileSpecCheck::NotFound;
  return FileSpecCheck::Valid;
}

std::string FileSpecMessage(FileSpecCheck check) {
  switch (check) {
    case FileSpecCheck::Valid:
      return "";
    case FileSpecCheck::BadForm:
      return "Invalid input file specification";
    case FileSpecCheck::BadExtension:
      return "Input file must have .htm or .html extension.";
    case FileSpecCheck::NotFound:
      return "Input file does not exist.";
  }
  return "";
}

}  // namespace tagwright
