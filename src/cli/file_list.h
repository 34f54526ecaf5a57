#pragma once

#include <string>
#include <vector>

namespace tagwright::cli {

/// One page to process, or the problem with one argument.
struct InputItem {
  std::string path;
  /// Non-empty when the argument cannot be processed: the message to report for `path`.
  std::string error;
  /// The summary's short reason for `error`.
  std::string reason;
  /// Non-empty when the file was listed before under this other name (or link): it is
  /// processed once, there.
  std::string sameAs;
};

struct ListOptions {
  /// Search the folders among the files.
  bool recursive = false;
  /// Follow symbolic links to files and folders while searching (never twice into a folder).
  bool follow = false;
  /// For apply: only names ending in a page extension are pages, named or found, and a file
  /// reached twice (by two names or links) is processed once.
  bool pagesOnly = false;
};

/// True for a name ending in .htm, .html, .shtml or .xhtml (any case): the pages that apply
/// rewrites.
bool IsPageName(const std::string& path);

/// The pages that the FILE arguments name, in order. "-" stands for standard input. With
/// `recursive`, a folder stands for the pages under it, in sorted order: .htm and .html files
/// (any case), and with `pagesOnly` also .shtml and .xhtml. Symbolic links met in a folder are
/// skipped unless `follow`; what is not a regular file is skipped; a path longer than the
/// system allows is reported. Named files and folders are taken through their links.
std::vector<InputItem> ListInputs(const std::vector<std::string>& files,
                                  const ListOptions& options);

}  // namespace tagwright::cli
