#pragma once

#include <sys/stat.h>

#include <string>
#include <string_view>

namespace tagwright::cli {

/// A page as read from disk, with what identified the file at the time.
struct PageFile {
  std::string bytes;
  struct stat info {};
};

/// Reads the regular file at `path` whole. False with a plain message in `error` otherwise.
bool ReadPageFile(const std::string& path, PageFile& page, std::string& error);

/// Replaces the page at `path` (read earlier as `old`) by `bytes`: written to a temporary file
/// in the same folder, flushed to disk, given the page's permissions and renamed over it. A
/// link is written through to its target. When the page is no longer what `old` holds, it is
/// left alone. With `backupSuffix` non-empty, the old page is kept as path + suffix. False
/// with a plain message in `error` when the page was not replaced.
bool ReplacePageFile(const std::string& path, const PageFile& old, std::string_view bytes,
                     const std::string& backupSuffix, std::string& error);

}  // namespace tagwright::cli
