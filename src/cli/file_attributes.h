#pragma once

#include <sys/stat.h>

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "page_problem.h"

namespace tagwright::cli {

/// What a file keeps when it is replaced by a new one: its owner, group, mode, access ACL and
/// extended attributes.
class FileAttributes {
 public:
  FileAttributes();
  ~FileAttributes();
  FileAttributes(const FileAttributes&) = delete;
  FileAttributes& operator=(const FileAttributes&) = delete;

  /// Reads them from the open file `fd`. False with a message when they cannot be read.
  bool Read(int fd, std::string& error);

  /// Gives them to the open file `fd`, which this process created. False with the reason when
  /// one of them cannot be given.
  bool CopyTo(int fd, PageProblem& problem) const;

 private:
  struct stat info_ {};
  /// The access ACL when it holds more than the mode says; null otherwise.
  std::unique_ptr<void, int (*)(void*)> acl_;
  /// The extended attributes other than the ACLs, by name.
  std::vector<std::pair<std::string, std::string>> attributes_;
};

}  // namespace tagwright::cli
