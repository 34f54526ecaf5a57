#include "cli_options.h"

#include <algorithm>
#include <charconv>

#include "output/limits.h"
#include "util/settings_table.h"

namespace tagwright::cli {

namespace {

// A whole number from `low` to `high`, or false.
bool ParseNumber(const std::string& text, int low, int high, int& value) {
  const char* last = text.data() + text.size();
  const auto [end, error] = std::from_chars(text.data(), last, value);
  return error == std::errc() && end == last && value >= low && value <= high;
}

constexpr int kMaxJobs = 256;

struct NumberOption {
  const char* name;
  const char* what;
  NumberSetting range;
  int Settings::*field;
};

constexpr NumberOption kNumberOptions[] = {
    {"--short-size", "The short-word size", kShortWordSize, &Settings::shortWordSize},
    {"--min-frequency", "The minimum frequency", kThresholdFrequency,
     &Settings::thresholdFrequency},
    {"--table-weight", "The table weight", kTableWeight, &Settings::tableWeight},
    {"--existing-weight", "The existing-keywords weight", kExistingKeywordsWeight,
     &Settings::existingKeywordsWeight},
    {"--bold-weight", "The bold weight", kBoldWeight, &Settings::boldWeight},
};

// "1 to 9 [3]": a number option's range and default, as the usage text shows them.
std::string RangeText(const NumberSetting& s) {
  return std::to_string(s.first) + " to " + std::to_string(s.last) + " [" +
         std::to_string(s.defaultValue) + "]";
}

// The options that take a value, besides the number options.
constexpr const char* kValueOptions[] = {"--max-keywords", "--max-bytes", "--begin-with",
                                         "--format", "--jobs"};

bool IsNumberOption(const std::string& name) {
  return std::ranges::any_of(kNumberOptions,
                             [&name](const NumberOption& option) { return name == option.name; });
}

bool TakesValue(const std::string& name) {
  return IsNumberOption(name) ||
         std::ranges::any_of(kValueOptions, [&name](const char* option) { return name == option; });
}

bool SetCommand(const std::string& word, CliOptions& options, std::string& error) {
  if (word == "list") {
    options.command = Command::List;
  } else if (word == "generate") {
    options.command = Command::Generate;
  } else if (word == "existing") {
    options.command = Command::Existing;
  } else if (word == "apply") {
    options.command = Command::Apply;
  } else {
    error = "Unknown command \"" + word + "\": use list, generate, existing or apply (see --help).";
    return false;
  }
  return true;
}

// An option without a value. False when `name` is none of them.
bool SetFlag(const std::string& name, CliOptions& options) {
  if (name == "--no-short") {
    options.settings.ignoreShortWords = false;
  } else if (name == "--no-common") {
    options.settings.ignoreCommonWords = false;
  } else if (name == "--modern") {
    options.settings.modernMarkup = true;
  } else if (name == "--recursive") {
    options.recursive = true;
  } else if (name == "--dry-run") {
    options.dryRun = true;
  } else if (name == "--backup") {
    options.backup = true;
  } else if (name == "--keep-existing") {
    options.keepExisting = true;
  } else {
    return false;
  }
  return true;
}

bool SetValue(const std::string& name, const std::string& value, CliOptions& options,
              std::string& error) {
  for (const auto& option : kNumberOptions) {
    if (name != option.name) continue;
    if (!ParseNumber(value, option.range.first, option.range.last,
                     options.settings.*option.field)) {
      error = std::string(option.what) + " must be a whole number from " +
              std::to_string(option.range.first) + " to " + std::to_string(option.range.last) + ".";
      return false;
    }
    return true;
  }
  if (name == "--jobs") {
    if (!ParseNumber(value, 1, kMaxJobs, options.jobs)) {
      error =
          "The number of jobs must be a whole number from 1 to " + std::to_string(kMaxJobs) + ".";
      return false;
    }
  } else if (name == "--max-keywords") {
    options.request.maxKeywordsText = value;
    error = CheckMaxNumKeywords(options.request.maxKeywordsText);
  } else if (name == "--max-bytes") {
    options.request.maxBytesText = value;
    error = CheckMaxNumBytes(options.request.maxBytesText);
  } else if (name == "--begin-with") {
    options.request.beginWithText = value;
  } else if (name == "--format") {
    if (value == "text") {
      options.format = Format::Text;
    } else if (value == "json") {
      options.format = Format::Json;
    } else {
      error = "The format must be text or json.";
    }
  }
  return error.empty();
}

}  // namespace

bool ParseCliOptions(const std::vector<std::string>& args, CliOptions& options,
                     std::string& error) {
  options = CliOptions{};
  error.clear();
  bool commandSeen = false;
  bool optionsEnded = false;
  bool help = false;
  bool version = false;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (optionsEnded || arg.size() < 2 || arg[0] != '-') {
      // A word: the command first, then the files ("-" is standard input).
      if (commandSeen) {
        options.files.push_back(arg);
      } else if (!SetCommand(arg, options, error)) {
        return false;
      } else {
        commandSeen = true;
      }
      continue;
    }
    if (arg == "--") {
      optionsEnded = true;
      continue;
    }
    if (arg[1] != '-') {
      // Short options, which may be grouped: -h, -r, and -j with its number attached or next.
      for (std::size_t k = 1; k < arg.size(); ++k) {
        const char c = arg[k];
        if (c == 'h') {
          help = true;
        } else if (c == 'r') {
          options.recursive = true;
        } else if (c == 'j') {
          std::string value = arg.substr(k + 1);
          if (value.empty()) {
            if (i + 1 == args.size()) {
              error = "The option -j needs a value (see --help).";
              return false;
            }
            value = args[++i];
          }
          if (!SetValue("--jobs", value, options, error)) return false;
          break;
        } else {
          error = "Unknown option -" + std::string(1, c) + " (see --help).";
          return false;
        }
      }
      continue;
    }
    std::string name = arg;
    std::string value;
    const std::size_t equals = arg.find('=');
    const bool attached = equals != std::string::npos;
    if (attached) {
      name = arg.substr(0, equals);
      value = arg.substr(equals + 1);
    }
    if (name == "--help" || name == "--version") {
      if (attached) {
        error = "The option " + name + " takes no value (see --help).";
        return false;
      }
      (name == "--help" ? help : version) = true;
    } else if (name == "--backup" && attached) {
      options.backup = true;
      options.backupSuffix = value;
      if (value.empty() || value.find('/') != std::string::npos) {
        error = "The backup suffix must be a non-empty text without \"/\".";
        return false;
      }
    } else if (SetFlag(name, options)) {
      if (attached) {
        error = "The option " + name + " takes no value (see --help).";
        return false;
      }
    } else if (TakesValue(name)) {
      if (!attached) {
        if (i + 1 == args.size()) {
          error = "The option " + name + " needs a value (see --help).";
          return false;
        }
        value = args[++i];
      }
      if (!SetValue(name, value, options, error)) return false;
    } else {
      error = "Unknown option " + name + " (see --help).";
      return false;
    }
  }
  if (help || version) {
    options.command = help ? Command::Help : Command::Version;
    return true;
  }
  if (!commandSeen) {
    error = "No command given: use list, generate, existing or apply (see --help).";
    return false;
  }
  if (options.files.empty()) {
    error = "No input file given (see --help).";
    return false;
  }
  if ((options.dryRun || options.backup) && options.command != Command::Apply) {
    error = "--dry-run and --backup go with apply only.";
    return false;
  }
  if (options.keepExisting && options.command != Command::Apply) {
    error = "--keep-existing goes with apply only.";
    return false;
  }
  return true;
}

std::string VersionText() { return std::string("tagwright-cli ") + TAGWRIGHT_VERSION + "\n"; }

std::string UsageText() {
  return R"(Usage: tagwright-cli COMMAND [OPTIONS] FILE...

Weighs the visible words of HTML pages by where they stand (title, headings, bold
text, tables, description and keywords meta tags, font sizes) and prints:

  list FILE...       the ranked word list, as "List words" shows it
  generate FILE...   a keywords meta tag with its statistics, as
                     "Generate keywords meta tag" shows it
  existing FILE...   the page's own keywords meta tag, as
                     "Show existing  keywords" shows it
  apply FILE...      generates the tag for each page and writes it into the page,
                     in the page's charset: over the head's keywords meta tag,
                     or on a line of its own just before </head> (after the
                     head's last element when </head> is left out), as an HTML
                     parser finds them. Every other byte stays; the page is
                     replaced atomically, keeping its permissions.

A FILE of - reads one page from standard input (apply then prints the new page).

Options (the window's defaults in brackets):
  --short-size N       ignore words of N letters or fewer, )" +
         RangeText(kShortWordSize) + R"(
  --no-short           keep short words
  --no-common          keep common words (and, the, which, ...)
  --min-frequency N    keep words that occur at least N times, )" +
         RangeText(kThresholdFrequency) + R"(
  --table-weight N     weight of text in tables, 0 skips tables; )" +
         RangeText(kTableWeight) + R"(
  --existing-weight N  weight of the page's own keywords, 0 skips them; )" +
         RangeText(kExistingKeywordsWeight) + R"(
  --bold-weight N      weight of bold text, )" +
         RangeText(kBoldWeight) + R"(
  --modern             the modern reading: tags with attributes, hidden content
                       and navigation skipped, common words of the page's
                       language, words in every script [off]
  --max-keywords TEXT  at most this many keywords, )" +
         std::to_string(kMinNumKeywords) + " to " + std::to_string(kMaxNumKeywords) + " [\"" +
         std::to_string(kDefaultNumKeywords) + R"("]
  --max-bytes TEXT     at most this many bytes in the tag, up to )" +
         std::to_string(kMaxNumBytes) + " [\"" + std::to_string(kDefaultNumBytes) + R"("]
                       Both limits take what you would type into their boxes:
                       characters that cannot stand in a number are dropped,
                       and an empty text means no limit.
  --begin-with TEXT    comma-separated phrases that the tag begins with
  --format text|json   json prints one object per file and line: the words with
                       rank, value and frequency, the tag with its keyword and
                       byte counts, or whether an existing tag was found [text]
  -r, --recursive      search the folders among the FILEs for .htm and .html
                       files (any case), in sorted order, not following links
                       to folders
  -j, --jobs N         analyse N files at once, 1 to 256 [the number of cores];
                       the output is the same as with -j 1
  --dry-run            apply: change nothing, print what would change as a
                       unified diff (diff -u)
  --backup[=SUFFIX]    apply: keep each original page as FILE~ (or FILE+SUFFIX)
  --keep-existing      apply: the page's own keywords first, as they are spelt,
                       then the generated words within the limits
  -h, --help           show this text
  --version            show the version
  --                   the arguments after it are files, even if they begin
                       with -

Each result is printed as the window's result box would hold it, followed by a
newline. With several files, each result is preceded by a line "==> FILE <==".
Options may stand before or after the command. With --existing-weight 0, apply
gives the same page when run again.

Exit status: 0 on success; 1 when a file could not be processed (not found,
not a regular file, no htm extension, unreadable; for apply: no head, no
keyword within the limits, changed on disk while apply ran) or the output could not be written, with a message
"tagwright-cli: FILE: ..." on standard error, the other files being processed;
2 for a mistake in the options, with nothing written.
)";
}

}  // namespace tagwright::cli
