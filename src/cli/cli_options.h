#pragma once

#include <string>
#include <vector>

#include "util/settings.h"

namespace tagwright::cli {

enum class Command { List, Generate, Existing, Apply, Help, Version };
enum class Format { Text, Json };

/// The name that stands for standard input among the files.
inline constexpr const char* kStandardInput = "-";

struct CliOptions {
  Command command = Command::Help;
  Format format = Format::Text;
  Settings settings;
  MetaTagRequest request;
  std::vector<std::string> files;
  bool recursive = false;
  /// How many files are analysed at once; 0 for the number of cores.
  int jobs = 0;
  bool dryRun = false;
  bool backup = false;
  std::string backupSuffix = "~";
  /// apply, generate: the page's own keywords first, as they are spelt.
  bool keepExisting = false;
};

/// Reads the command line (without the program name). On a mistake, returns false with the
/// message to show in `error`.
bool ParseCliOptions(const std::vector<std::string>& args, CliOptions& options, std::string& error);

/// The text of --help.
std::string UsageText();

/// The text of --version.
std::string VersionText();

}  // namespace tagwright::cli
