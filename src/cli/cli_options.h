#pragma once

#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "util/settings.h"
#include "util/settings_table.h"

namespace tagwright::cli {

enum class Command { List, Generate, Existing, Apply, Report, Help, Version };
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
  /// -L: follow symbolic links while searching folders.
  bool follow = false;
  /// How many files are analysed at once; 0 for the number of cores.
  int jobs = 0;
  bool dryRun = false;
  bool backup = false;
  std::string backupSuffix = "~";
  /// --help or --version was given: the command becomes Help or Version.
  bool help = false;
  bool version = false;
  bool breakHardLinks = false;
  /// report: the file to write (-o); empty for standard output.
  std::string outputFile;
  /// apply, generate: the page's own keywords first, as they are spelt.
  bool keepExisting = false;
  /// --site: the words on more than half of the pages (at least 5) leave each page's ranking,
  /// except where they stand in its title or an h1.
  bool site = false;
};

/// What an option takes after its name.
enum class OptionArg {
  None,      ///< nothing: a switch
  Number,    ///< a whole number in `range`
  Limit,     ///< a whole number in `range`, or "none" (stored as "", no limit)
  Text,      ///< any text
  Choice,    ///< one of the blank-separated `words`
  Attached,  ///< nothing, or a text after "=" (--backup=SUFFIX)
};

/// The value of an option as the parser read it: `number` for Number options, `text` for
/// the others ("" for a Limit of "none" and for an Attached option without "=").
struct OptionValue {
  int number = 0;
  std::string text;
  /// An Attached option was given with "=".
  bool attached = false;
};

/// One command-line option. The parser, --help and the bash completion are all made from
/// the table of these (OptionTable); adding an option is adding a row.
struct OptionRow {
  /// The long name, with its dashes ("--short-size").
  std::string_view name{};
  /// The short name ('j' for -j), or 0.
  char letter = 0;
  OptionArg arg = OptionArg::None;
  /// The value's name in --help ("N", "TEXT", "SUFFIX"); for a Choice, its words.
  std::string_view valueName{};
  /// Number and Limit: the accepted range and the default.
  NumberSetting range{0, 0, 0};
  /// Choice: the accepted words, blank-separated.
  std::string_view words{};
  /// What the value is, for messages ("The short-word size").
  std::string_view what{};
  /// The --help description. Lines are separated by '\n'; "{range}" stands for "FIRST to
  /// LAST" and "{default}" for the default.
  std::string_view help{};
  /// The words the bash completion offers for the value, as bash text for `compgen -W`:
  /// empty for a Number's range, its words for a Choice, nothing for a Text or Limit.
  std::string_view completion{};
  /// Only the apply command takes it.
  bool applyOnly = false;
  /// Only the report command takes it.
  bool reportOnly = false;
  /// The value names a file: the completion offers files for it.
  bool fileValue = false;
  /// Stores the value (already checked) into the options. Returns a message for a value
  /// it refuses, or "".
  std::string (*set)(CliOptions& options, const OptionValue& value) = nullptr;

  /// The option takes a value, attached with "=" or as the next argument.
  constexpr bool TakesValue() const { return arg != OptionArg::None && arg != OptionArg::Attached; }
};

/// Every option, in the order --help lists them.
std::span<const OptionRow> OptionTable();

/// Reads the command line (without the program name). On a mistake, returns false with the
/// message to show in `error`.
bool ParseCliOptions(const std::vector<std::string>& args, CliOptions& options, std::string& error);

/// The text of --help.
std::string UsageText();

/// The text of --version.
std::string VersionText();

/// The bash completion script of tagwright-cli, made from the table.
std::string BashCompletion();

}  // namespace tagwright::cli
