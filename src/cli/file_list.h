#pragma once

#include <string>
#include <vector>

namespace tagwright::cli {

/// One page to process, or the problem with one argument.
struct InputItem {
  std::string path;
  /// Non-empty when the argument cannot be processed: the message to report for `path`.
  std::string error;
};

/// The pages that the FILE arguments name, in order. "-" stands for standard input. With
/// `recursive`, a folder stands for the .htm and .html files (any case) under it, in sorted
/// order; links to folders are not followed and what is not a regular file is skipped.
std::vector<InputItem> ListInputs(const std::vector<std::string>& files, bool recursive);

}  // namespace tagwright::cli
