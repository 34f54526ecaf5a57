#pragma once

#include <string>
#include <vector>

#include "util/settings.h"

namespace tagwright::cli {

enum class Command { List, Generate, Existing, Help };
enum class Format { Text, Json };

struct CliOptions {
  Command command = Command::Help;
  Format format = Format::Text;
  Settings settings;
  MetaTagRequest request;
  std::vector<std::string> files;
};

/// Reads the command line (without the program name). On a mistake, returns false with the
/// message to show in `error`.
bool ParseCliOptions(const std::vector<std::string>& args, CliOptions& options, std::string& error);

/// The text of --help.
std::string UsageText();

}  // namespace tagwright::cli
