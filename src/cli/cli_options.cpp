#include "cli_options.h"

#include <charconv>

#include "output/limits.h"
#include "util/file_proc.h"

namespace tagwright::cli {

namespace {

// A whole number from `low` to `high`, or false.
bool ParseNumber(const std::string& text, int low, int high, int& value) {
  const char* last = text.data() + text.size();
  const auto [end, error] = std::from_chars(text.data(), last, value);
  return error == std::errc() && end == last && value >= low && value <= high;
}

struct NumberOption {
  const char* name;
  const char* what;
  int low;
  int high;
  int Settings::*field;
};

constexpr NumberOption kNumberOptions[] = {
    {"--short-size", "The short-word size", 1, 9, &Settings::shortWordSize},
    {"--min-frequency", "The minimum frequency", 1, 9, &Settings::thresholdFrequency},
    {"--table-weight", "The table weight", 0, 9, &Settings::tableWeight},
    {"--existing-weight", "The existing-keywords weight", 0, 9, &Settings::existingKeywordsWeight},
    {"--bold-weight", "The bold weight", 1, 9, &Settings::boldWeight},
};

}  // namespace

bool ParseCliOptions(const std::vector<std::string>& args, CliOptions& options,
                     std::string& error) {
  options = CliOptions{};
  bool commandSeen = false;
  bool optionsEnded = false;
  for (std::size_t i = 0; i < args.size(); ++i) {
    std::string arg = args[i];
    if (optionsEnded || arg.size() < 2 || arg.compare(0, 2, "--") != 0) {
      if (commandSeen) {
        options.files.push_back(arg);
        continue;
      }
      if (arg == "list") {
        options.command = Command::List;
      } else if (arg == "generate") {
        options.command = Command::Generate;
      } else if (arg == "existing") {
        options.command = Command::Existing;
      } else {
        error = "Unknown command \"" + arg + "\": use list, generate or existing (see --help).";
        return false;
      }
      commandSeen = true;
      continue;
    }
    if (arg == "--") {
      optionsEnded = true;
      continue;
    }
    if (arg == "--help") {
      options.command = Command::Help;
      return true;
    }
    if (arg == "--no-short") {
      options.settings.ignoreShortWords = false;
      continue;
    }
    if (arg == "--no-common") {
      options.settings.ignoreCommonWords = false;
      continue;
    }
    // The other options take a value, as the next argument or after "=".
    std::string value;
    bool hasValue = false;
    if (const std::size_t equals = arg.find('='); equals != std::string::npos) {
      value = arg.substr(equals + 1);
      arg.erase(equals);
      hasValue = true;
    } else if (i + 1 < args.size()) {
      value = args[++i];
      hasValue = true;
    }
    bool known = false;
    for (const auto& option : kNumberOptions) {
      if (arg != option.name) continue;
      known = true;
      if (!hasValue ||
          !ParseNumber(value, option.low, option.high, options.settings.*option.field)) {
        error = std::string(option.what) + " must be a whole number from " +
                std::to_string(option.low) + " to " + std::to_string(option.high) + ".";
        return false;
      }
    }
    if (known) continue;
    if (!hasValue) {
      error = "Unknown option " + arg + " or missing value (see --help).";
      return false;
    }
    if (arg == "--max-keywords") {
      options.request.maxKeywordsText = value;
      error = CheckMaxNumKeywords(options.request.maxKeywordsText);
      if (!error.empty()) return false;
    } else if (arg == "--max-bytes") {
      options.request.maxBytesText = value;
      error = CheckMaxNumBytes(options.request.maxBytesText);
      if (!error.empty()) return false;
    } else if (arg == "--begin-with") {
      options.request.beginWithText = value;
    } else if (arg == "--format") {
      if (value == "text") {
        options.format = Format::Text;
      } else if (value == "json") {
        options.format = Format::Json;
      } else {
        error = "The format must be text or json.";
        return false;
      }
    } else {
      error = "Unknown option " + arg + " (see --help).";
      return false;
    }
  }
  if (!commandSeen) {
    error = "No command given: use list, generate or existing (see --help).";
    return false;
  }
  if (options.files.empty()) {
    error = kInputFileNotSpecified;
    return false;
  }
  return true;
}

std::string UsageText() {
  return R"(Usage: tagwright-cli COMMAND [OPTIONS] FILE...

Weighs the visible words of HTML pages by where they stand (title, headings, bold
text, tables, description and keywords meta tags, font sizes) and prints:

  list FILE...       the ranked word list, as "List words" shows it
  generate FILE...   a keywords meta tag with its statistics, as
                     "Generate keywords meta tag" shows it
  existing FILE...   the page's own keywords meta tag, as
                     "Show existing  keywords" shows it

Options (the window's defaults in brackets):
  --short-size N       ignore words of N letters or fewer, 1 to 9 [3]
  --no-short           keep short words
  --no-common          keep common words (and, the, which, ...)
  --min-frequency N    keep words that occur at least N times, 1 to 9 [2]
  --table-weight N     weight of text in tables, 0 to 9; 0 skips tables [1]
  --existing-weight N  weight of the page's own keywords, 0 to 9; 0 skips them [1]
  --bold-weight N      weight of bold text, 1 to 9 [3]
  --max-keywords TEXT  at most this many keywords, 5 to 100 ["50"]
  --max-bytes TEXT     at most this many bytes in the tag, up to 1000 ["500"]
                       Both limits take what you would type into their boxes:
                       characters that cannot stand in a number are dropped,
                       and an empty text means no limit.
  --begin-with TEXT    comma-separated phrases that the tag begins with
  --format text|json   json prints one object per file and line: the words with
                       rank, value and frequency, or the tag with its keyword
                       and byte counts [text]
  --help               show this text

Each result is printed as the window's result box would hold it, followed by a
newline. With several files, each result is preceded by a line "==> FILE <==".

Exit status: 0 on success; 1 when a file could not be read or analysed (a
message on standard error); 2 for an out-of-range option, a missing file, an
empty path or a file without an htm extension (the window's message on standard
error, and nothing else is written).
)";
}

}  // namespace tagwright::cli
