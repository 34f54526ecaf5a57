#include "cli_run.h"

#include <ostream>

#include "cli_options.h"
#include "json_output.h"
#include "output/meta_tag.h"
#include "output/word_list.h"
#include "scan/analysis.h"
#include "scan/existing_tag.h"
#include "util/file_proc.h"
#include "util/str_proc.h"

namespace tagwright::cli {

namespace {

// Turns the result box's CR LF line ends into newlines, in place (a result can be large).
void ToLines(std::string& text) {
  std::size_t kept = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') continue;
    text[kept++] = text[i];
  }
  text.resize(kept);
}

// The window's message for a path that cannot be analysed, or "".
std::string CheckFile(const std::string& path) {
  const std::string trimmed(TrimBlanks(path));
  if (trimmed.empty()) return kInputFileNotSpecified;
  const FileSpecCheck check = CheckInputFileSpec(trimmed);
  if (check == FileSpecCheck::NotFound) return kInputFileNotFound;
  return FileSpecMessage(check);
}

const std::string kExistingError = "Error when looking for keywords meta tag.";

}  // namespace

int RunCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  CliOptions options;
  std::string error;
  if (!ParseCliOptions(args, options, error)) {
    err << error << '\n';
    return 2;
  }
  if (options.command == Command::Help) {
    out << UsageText();
    return 0;
  }
  // Every file is checked before anything is written.
  for (const std::string& file : options.files) {
    error = CheckFile(file);
    if (!error.empty()) {
      err << error << '\n';
      return 2;
    }
  }

  int status = 0;
  ScanObserver quiet;
  Analysis analysis(options.settings, quiet);
  const bool json = options.format == Format::Json;
  for (const std::string& file : options.files) {
    const std::string path(TrimBlanks(file));
    std::string text;
    if (options.command == Command::Existing) {
      text = ShowExistingKeywordMetaTag(path);
      if (text == kExistingError) {
        err << "tagwright-cli: " << path << ": the file could not be read\n";
        status = 1;
      }
      if (json) text = ExistingJson(file, text);
    } else {
      const RunResult result = RunScan(path, analysis, quiet);
      if (result.outcome != RunOutcome::Completed) {
        err << "tagwright-cli: " << path << ": " << result.error << '\n';
        status = 1;
        continue;
      }
      if (options.command == Command::List && !json) {
        // A list can be long: written as it is made, with newlines for line ends.
        if (options.files.size() > 1) out << "==> " << file << " <==\n";
        WriteWordList(analysis.Ranked(), options.settings, "\n", [&out](std::string_view part) {
          out.write(part.data(), static_cast<std::streamsize>(part.size()));
        });
        out << '\n';
        continue;
      }
      if (options.command == Command::List) {
        text = WordListJson(file, analysis.Ranked(),
                            ShowNoWordsMessage(options.settings.ShortWordSize(),
                                               options.settings.ThresholdFrequency()));
      } else {
        const MetaTag tag = GenerateMetaTag(analysis.Ranked(), options.request, options.settings);
        text = json ? MetaTagJson(file, tag) : tag.text;
      }
    }
    if (!json && options.files.size() > 1) out << "==> " << file << " <==\n";
    ToLines(text);
    out << text << '\n';
  }
  out.flush();
  return status;
}

}  // namespace tagwright::cli
