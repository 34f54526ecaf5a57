#include "cli_options.h"

#include <algorithm>
#include <charconv>

#include "file_list.h"

namespace tagwright::cli {

namespace {

constexpr NumberSetting kJobs{1, 256, 0};
constexpr NumberSetting kKeywordsLimit{kMinNumKeywords, kMaxNumKeywords, kDefaultNumKeywords};
constexpr NumberSetting kBytesLimit{1, kMaxNumBytes, kDefaultNumBytes};

/// The word that stands for no limit.
constexpr std::string_view kNoLimit = "none";

// The options. Each row names the option, says what it takes and how --help describes it,
// and stores its value; the parser, --help and the completion read nothing else.
constexpr OptionRow kOptions[] = {
    {.name = "--short-size",
     .arg = OptionArg::Number,
     .valueName = "N",
     .range = kShortWordSize,
     .what = "The short-word size",
     .help = "ignore words of N letters or fewer, {range} [{default}]",
     .set =
         [](CliOptions& o, const OptionValue& v) {
           o.settings.shortWordSize = v.number;
           return std::string();
         }},
    {.name = "--no-short",
     .help = "keep short words",
     .set =
         [](CliOptions& o, const OptionValue&) {
           o.settings.ignoreShortWords = false;
           return std::string();
         }},
    {.name = "--no-common",
     .help = "keep common words (and, the, which, ...)",
     .set =
         [](CliOptions& o, const OptionValue&) {
           o.settings.ignoreCommonWords = false;
           return std::string();
         }},
    {.name = "--min-frequency",
     .arg = OptionArg::Number,
     .valueName = "N",
     .range = kThresholdFrequency,
     .what = "The minimum frequency",
     .help = "keep words that occur at least N times, {range} [{default}]",
     .set =
         [](CliOptions& o, const OptionValue& v) {
           o.settings.thresholdFrequency = v.number;
           return std::string();
         }},
    {.name = "--table-weight",
     .arg = OptionArg::Number,
     .valueName = "N",
     .range = kTableWeight,
     .what = "The table weight",
     .help = "weight of text in tables, 0 skips tables; {range} [{default}]",
     .set =
         [](CliOptions& o, const OptionValue& v) {
           o.settings.tableWeight = v.number;
           return std::string();
         }},
    {.name = "--existing-weight",
     .arg = OptionArg::Number,
     .valueName = "N",
     .range = kExistingKeywordsWeight,
     .what = "The existing-keywords weight",
     .help = "weight of the page's own keywords, 0 skips them; {range} [{default}]",
     .set =
         [](CliOptions& o, const OptionValue& v) {
           o.settings.existingKeywordsWeight = v.number;
           return std::string();
         }},
    {.name = "--bold-weight",
     .arg = OptionArg::Number,
     .valueName = "N",
     .range = kBoldWeight,
     .what = "The bold weight",
     .help = "weight of bold text, {range} [{default}]",
     .set =
         [](CliOptions& o, const OptionValue& v) {
           o.settings.boldWeight = v.number;
           return std::string();
         }},
    {.name = "--modern",
     .help = "the modern reading: tags with attributes, hidden content\n"
             "and navigation skipped, common words of the page's\n"
             "language, words in every script [off]",
     .set =
         [](CliOptions& o, const OptionValue&) {
           o.settings.modernMarkup = true;
           return std::string();
         }},
    {.name = "--max-keywords",
     .arg = OptionArg::Limit,
     .valueName = "N",
     .range = kKeywordsLimit,
     .what = "The maximum number of keywords",
     .help = "at most this many keywords, {range}, or none for no\nlimit [{default}]",
     .set =
         [](CliOptions& o, const OptionValue& v) {
           o.request.maxKeywordsText = v.text;
           return std::string();
         }},
    {.name = "--max-bytes",
     .arg = OptionArg::Limit,
     .valueName = "N",
     .range = kBytesLimit,
     .what = "The maximum number of bytes",
     .help = "at most this many bytes in the tag, {range}, or none\nfor no limit [{default}]",
     .set =
         [](CliOptions& o, const OptionValue& v) {
           o.request.maxBytesText = v.text;
           return std::string();
         }},
    {.name = "--begin-with",
     .arg = OptionArg::Text,
     .valueName = "TEXT",
     .help = "comma-separated phrases that the tag begins with",
     .set =
         [](CliOptions& o, const OptionValue& v) {
           o.request.beginWithText = v.text;
           return std::string();
         }},
    {.name = "--format",
     .arg = OptionArg::Choice,
     .valueName = "text|json",
     .words = "text json",
     .what = "The format",
     .help = "json prints one object per file and line: the words with\n"
             "rank, value and frequency, the tag with its keyword and\n"
             "byte counts, or whether an existing tag was found [text]",
     .set =
         [](CliOptions& o, const OptionValue& v) {
           o.format = v.text == "json" ? Format::Json : Format::Text;
           return std::string();
         }},
    {.name = "--recursive",
     .letter = 'r',
     .help = "search the folders among the FILEs for .htm and .html\n"
             "files (any case; apply: also .shtml, .xhtml), in sorted\n"
             "order, not following symbolic links",
     .set =
         [](CliOptions& o, const OptionValue&) {
           o.recursive = true;
           return std::string();
         }},
    {.name = "--site",
     .help = "list, generate, apply, report: the FILEs are one site;\n"
             "words on more than half of its pages (at least 5) are\n"
             "its furniture and leave each page's ranking, except where\n"
             "they stand in the page's title or an h1",
     .set =
         [](CliOptions& o, const OptionValue&) {
           o.site = true;
           return std::string();
         }},
    {.name = "--follow",
     .letter = 'L',
     .help = "-r follows symbolic links, entering each folder once",
     .set =
         [](CliOptions& o, const OptionValue&) {
           o.follow = true;
           return std::string();
         }},
    {.name = "--jobs",
     .letter = 'j',
     .arg = OptionArg::Number,
     .valueName = "N",
     .range = kJobs,
     .what = "The number of jobs",
     .help = "analyse N files at once, {range} [the number of cores];\n"
             "the output is the same as with -j 1",
     .completion = R"sh($(seq 1 "$(nproc 2>/dev/null || echo 1)"))sh",
     .set =
         [](CliOptions& o, const OptionValue& v) {
           o.jobs = v.number;
           return std::string();
         }},
    {.name = "--dry-run",
     .help = "apply: change nothing, print what would change as a\n"
             "unified diff (diff -u), which patch -p0 applies",
     .applyOnly = true,
     .set =
         [](CliOptions& o, const OptionValue&) {
           o.dryRun = true;
           return std::string();
         }},
    {.name = "--backup",
     .arg = OptionArg::Attached,
     .valueName = "SUFFIX",
     .help = "apply: keep each original page as FILE~ (or FILE+SUFFIX),\n"
             "or FILE.~1~, FILE.~2~, ... when that exists",
     .applyOnly = true,
     .set =
         [](CliOptions& o, const OptionValue& v) {
           o.backup = true;
           if (!v.attached) return std::string();
           if (v.text.empty() || v.text.find('/') != std::string::npos) {
             return std::string("The backup suffix must be a non-empty text without \"/\".");
           }
           if (IsPageName(v.text)) {
             return std::string(
                 "The backup suffix must not end in .htm, .html, .shtml or .xhtml: a backup is "
                 "never a page.");
           }
           o.backupSuffix = v.text;
           return std::string();
         }},
    {.name = "--break-hard-links",
     .help = "apply: replace a page that has other hard links",
     .applyOnly = true,
     .set =
         [](CliOptions& o, const OptionValue&) {
           o.breakHardLinks = true;
           return std::string();
         }},
    {.name = "--keep-existing",
     .help = "apply: the page's own keywords first, as they are spelt,\n"
             "then the generated words within the limits",
     .applyOnly = true,
     .set =
         [](CliOptions& o, const OptionValue&) {
           o.keepExisting = true;
           return std::string();
         }},
    {.name = "--output",
     .letter = 'o',
     .arg = OptionArg::Text,
     .valueName = "FILE",
     .help = "report: write the report to FILE instead of standard\n"
             "output (replaced atomically); its links to the pages are\n"
             "relative to FILE's folder",
     .reportOnly = true,
     .fileValue = true,
     .set =
         [](CliOptions& o, const OptionValue& v) {
           if (v.text.empty()) return std::string("The output file must be named.");
           o.outputFile = v.text;
           return std::string();
         }},
    {.name = "--help",
     .letter = 'h',
     .help = "show this text",
     .set =
         [](CliOptions& o, const OptionValue&) {
           o.help = true;
           return std::string();
         }},
    {.name = "--version",
     .help = "show the version",
     .set =
         [](CliOptions& o, const OptionValue&) {
           o.version = true;
           return std::string();
         }},
};

// "-j, --jobs" or "--short-size", as messages and --help name an option.
std::string Names(const OptionRow& row) {
  std::string names;
  if (row.letter != 0) names = std::string("-") + row.letter + ", ";
  return names += row.name;
}

// The blank-separated words of `text`.
std::vector<std::string_view> Words(std::string_view text) {
  std::vector<std::string_view> words;
  for (std::size_t start = 0; start < text.size();) {
    const std::size_t end = std::min(text.find(' ', start), text.size());
    words.push_back(text.substr(start, end - start));
    start = end + 1;
  }
  return words;
}

// " or " between the last two of the words, ", " between the others: "text or json".
std::string Alternatives(std::string_view words) {
  const std::vector<std::string_view> list = Words(words);
  std::string text;
  for (std::size_t i = 0; i < list.size(); ++i) {
    if (i > 0) text += i + 1 == list.size() ? " or " : ", ";
    text += list[i];
  }
  return text;
}

std::string RangeText(const NumberSetting& range) {
  return std::to_string(range.first) + " to " + std::to_string(range.last);
}

// A whole number in `range`, or false.
bool ParseNumber(std::string_view text, const NumberSetting& range, int& value) {
  const char* last = text.data() + text.size();
  const auto [end, error] = std::from_chars(text.data(), last, value);
  return error == std::errc() && end == last && range.Holds(value);
}

// Checks the value of `row` as typed and stores it. "" or the message for a refused value.
std::string SetValue(const OptionRow& row, const std::string& typed, bool attached,
                     CliOptions& options) {
  OptionValue value;
  value.text = typed;
  value.attached = attached;
  const std::string named = std::string(row.what) + " (" + Names(row) + ")";
  switch (row.arg) {
    case OptionArg::Number:
      if (!ParseNumber(typed, row.range, value.number)) {
        return named + " must be a whole number from " + RangeText(row.range) + ".";
      }
      break;
    case OptionArg::Limit:
      if (typed == kNoLimit) {
        value.text.clear();
      } else if (ParseNumber(typed, row.range, value.number)) {
        value.text = std::to_string(value.number);
      } else {
        return named + " must be a whole number from " + RangeText(row.range) + ", or " +
               std::string(kNoLimit) + ".";
      }
      break;
    case OptionArg::Choice:
      if (std::ranges::count(Words(row.words), std::string_view(typed)) == 0) {
        return named + " must be " + Alternatives(row.words) + ".";
      }
      break;
    case OptionArg::None:
    case OptionArg::Text:
    case OptionArg::Attached:
      break;
  }
  return row.set(options, value);
}

const OptionRow* FindLong(std::string_view name) {
  const auto* row =
      std::ranges::find_if(kOptions, [name](const OptionRow& r) { return r.name == name; });
  return row == std::ranges::end(kOptions) ? nullptr : row;
}

const OptionRow* FindShort(char letter) {
  const auto* row =
      std::ranges::find_if(kOptions, [letter](const OptionRow& r) { return r.letter == letter; });
  return row == std::ranges::end(kOptions) ? nullptr : row;
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
  } else if (word == "report") {
    options.command = Command::Report;
  } else {
    error = "Unknown command \"" + word +
            "\": use list, generate, existing, apply or report (see --help).";
    return false;
  }
  return true;
}

// The names of the apply-only options: "--dry-run, --backup and --break-hard-links".
std::string ApplyOnlyNames() {
  std::vector<std::string_view> names;
  for (const OptionRow& row : kOptions) {
    if (row.applyOnly) names.push_back(row.name);
  }
  std::string text;
  for (std::size_t k = 0; k < names.size(); ++k) {
    if (k > 0) text += k + 1 == names.size() ? " and " : ", ";
    text += names[k];
  }
  return text;
}

// One argument that begins with "--" (and is not "--"). Moves `i` on to the next argument when
// the option's value stands there.
bool ParseLong(const std::vector<std::string>& args, std::size_t& i, CliOptions& options,
               std::string& error) {
  const std::string& arg = args[i];
  const std::size_t equals = arg.find('=');
  const bool attached = equals != std::string::npos;
  const std::string name = arg.substr(0, equals);
  const OptionRow* row = FindLong(name);
  if (row == nullptr) {
    error = "Unknown option " + name + " (see --help).";
    return false;
  }
  std::string value;
  if (attached) {
    if (row->arg == OptionArg::None) {
      error = "The option " + name + " takes no value (see --help).";
      return false;
    }
    value = arg.substr(equals + 1);
  } else if (row->TakesValue()) {
    if (i + 1 == args.size()) {
      error = "The option " + name + " needs a value (see --help).";
      return false;
    }
    value = args[++i];
  }
  error = SetValue(*row, value, attached, options);
  return error.empty();
}

// One argument of short options, which may be grouped ("-rj4"); an option that takes a value
// takes the rest of the argument, or the next argument.
bool ParseShort(const std::vector<std::string>& args, std::size_t& i, CliOptions& options,
                std::string& error) {
  const std::string& arg = args[i];
  for (std::size_t k = 1; k < arg.size(); ++k) {
    const OptionRow* row = FindShort(arg[k]);
    if (row == nullptr) {
      error = "Unknown option -" + std::string(1, arg[k]) + " (see --help).";
      return false;
    }
    if (!row->TakesValue()) {
      error = SetValue(*row, {}, false, options);
      if (!error.empty()) return false;
      continue;
    }
    std::string value = arg.substr(k + 1);
    if (value.empty()) {
      if (i + 1 == args.size()) {
        error = "The option -" + std::string(1, arg[k]) + " needs a value (see --help).";
        return false;
      }
      value = args[++i];
    }
    error = SetValue(*row, value, true, options);
    return error.empty();
  }
  return true;
}

// The options' part of --help: each option and its value at the left, its description from
// column 23 on.
std::string OptionsHelp() {
  constexpr std::size_t kColumn = 23;
  std::string text;
  for (const OptionRow& row : kOptions) {
    std::string left = "  " + Names(row);
    if (row.arg == OptionArg::Attached) {
      left += "[=" + std::string(row.valueName) + "]";
    } else if (row.TakesValue()) {
      left += " " + std::string(row.valueName);
    }
    left.resize(std::max(kColumn, left.size() + 2), ' ');
    std::string help(row.help);
    for (const auto& [mark, by] :
         {std::pair<std::string, std::string>{"{range}", RangeText(row.range)},
          {"{default}", std::to_string(row.range.defaultValue)}}) {
      if (const std::size_t at = help.find(mark); at != std::string::npos)
        help.replace(at, mark.size(), by);
    }
    for (std::size_t at = help.find('\n'); at != std::string::npos; at = help.find('\n', at + 1)) {
      help.insert(at + 1, kColumn, ' ');
    }
    text += left + help + "\n";
  }
  return text;
}

}  // namespace

std::span<const OptionRow> OptionTable() { return kOptions; }

bool ParseCliOptions(const std::vector<std::string>& args, CliOptions& options,
                     std::string& error) {
  options = CliOptions{};
  error.clear();
  bool commandSeen = false;
  bool optionsEnded = false;
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
    } else if (arg == "--") {
      optionsEnded = true;
    } else if (!(arg[1] == '-' ? ParseLong : ParseShort)(args, i, options, error)) {
      return false;
    }
  }
  if (options.help || options.version) {
    options.command = options.help ? Command::Help : Command::Version;
    return true;
  }
  if (!commandSeen) {
    error = "No command given: use list, generate, existing, apply or report (see --help).";
    return false;
  }
  if (options.files.empty()) {
    error = "No input file given (see --help).";
    return false;
  }
  if ((options.dryRun || options.backup || options.breakHardLinks || options.keepExisting) &&
      options.command != Command::Apply) {
    error = ApplyOnlyNames() + " go with apply only.";
    return false;
  }
  if (options.site && options.command == Command::Existing) {
    error = "--site goes with list, generate, apply and report.";
    return false;
  }
  if (!options.outputFile.empty() && options.command != Command::Report) {
    error = "-o/--output goes with report only.";
    return false;
  }
  if (options.command == Command::Report && options.format == Format::Json) {
    error = "report writes HTML; --format json goes with the other commands.";
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
                     replaced atomically and keeps its owner, group, mode, ACL
                     and extended attributes, or is left alone with a message
                     (read-only, not yours to keep, hard links). Only names
                     ending in .htm, .html, .shtml or .xhtml are pages for apply.
  report FILE...     one self-contained HTML page about all the pages: how many
                     lack a keywords tag, a title or a description or have a
                     stale tag, the words that lead the most pages and those on
                     most of them, and for every page its tags side by side and
                     its best words with where their value comes from

A FILE of - reads one page from standard input (apply then prints the page,
changed or not).

Options (the window's defaults in brackets):
)" + OptionsHelp() +
         R"(  --                   the arguments after it are files, even if they begin
                       with -

Each result is printed as the window's result box would hold it, followed by a
newline. With several files, each result is preceded by a line "==> FILE <==".
Options may stand before or after the command. With --existing-weight 0, apply
gives the same page when run again. A file reached twice is applied once. After
more than one page, or on a terminal, apply counts the pages changed, unchanged
and left alone on standard error.

Exit status: 0 on success; 1 when a file could not be processed (not found,
not a regular file, no htm extension, unreadable, a path too long, or a page
that apply left alone: no head, no keyword within the limits, changed on disk)
or the output could not be written, with a message
"tagwright-cli: FILE: ..." on standard error, the other files being processed;
2 for a mistake in the options, with nothing written; 130, 143 or 129 after
SIGINT, SIGTERM or SIGHUP, with no page half-written.
)";
}

}  // namespace tagwright::cli
