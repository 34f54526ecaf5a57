#pragma once

#include <sys/stat.h>

#include <string>
#include <string_view>

#include "page_problem.h"

namespace tagwright::cli {

/// A page as read from disk, with what identified the file at the time.
struct PageFile {
  std::string bytes;
  struct stat info {};
};

/// Reads the regular file at `path` whole. False with the reason otherwise.
bool ReadPageFile(const std::string& path, PageFile& page, PageProblem& problem);

/// "UTF-16" or "UTF-32" when the page is written in that form (by its byte order mark, or by
/// the zero bytes around its first "<"); empty for a page in an ASCII-based charset.
std::string WideUnicodeForm(std::string_view bytes);

struct ReplaceOptions {
  /// Non-empty to keep the old page as path + suffix (or as a numbered backup).
  std::string backupSuffix;
  /// Replace a page that has other hard links: this name gets the new page, the others keep
  /// the old one.
  bool breakHardLinks = false;
};

/// Whether the page at `path` may be replaced by this user as it is: it is writable (not
/// read-only even for a user the system lets write anything) and has no other hard link
/// unless `breakHardLinks`. False with the reason otherwise.
bool CheckReplaceable(const std::string& path, bool breakHardLinks, PageProblem& problem);

/// Replaces the page at `path` (read earlier as `old`) by `bytes`: written to a temporary file
/// in the same folder, given the page's owner, group, mode, ACL and extended attributes,
/// flushed to disk and renamed over it. A link is written through to its target. The page is
/// left alone when CheckReplaceable refuses it, when one of its attributes cannot be kept, or
/// when it is no longer what `old` holds. With a backup suffix, the old page is kept beside
/// the page's file as its name + suffix or, when that exists, as the first free numbered
/// backup NAME.~1~, NAME.~2~, ...; no existing file is ever overwritten. An interrupt waits
/// until the page is replaced or its temporary files are gone. False with the reason when the
/// page was not replaced.
bool ReplacePageFile(const std::string& path, const PageFile& old, std::string_view bytes,
                     const ReplaceOptions& options, PageProblem& problem);

}  // namespace tagwright::cli
