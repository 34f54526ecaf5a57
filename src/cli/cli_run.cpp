#include "cli_run.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <functional>
#include <iterator>
#include <memory>
#include <ostream>
#include <sstream>
#include <thread>

#include "cli_options.h"
#include "file_list.h"
#include "job_pool.h"
#include "json_output.h"
#include "output/meta_tag.h"
#include "output/unified_diff.h"
#include "output/word_list.h"
#include "page_file.h"
#include "scan/analysis.h"
#include "scan/apply_tag.h"
#include "scan/existing_tag.h"
#include "util/charset.h"
#include "words/stop_words.h"

namespace tagwright::cli {

namespace {

constexpr const char* kPrefix = "tagwright-cli: ";

// Turns the result box's CR LF line ends into newlines, in place (a result can be large).
void ToLines(std::string& text) {
  std::size_t kept = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') continue;
    text[kept++] = text[i];
  }
  text.resize(kept);
}

JobOutput Problem(const std::string& file, const std::string& message) {
  return {"", kPrefix + file + ": " + message + "\n", true};
}

// One worker's analysis, kept from file to file.
struct Worker {
  explicit Worker(const Settings& settings) : analysis(settings, quiet) {}
  ScanObserver quiet;
  Analysis analysis;
};

// Where a job may write its standard output at once instead of keeping it: given when the
// files are processed one at a time, so that a long word list is never held whole.
using DirectOutput = std::function<void(std::string_view)>;

class FileProcessor {
 public:
  FileProcessor(const CliOptions& options, std::string standardInput, bool headers)
      : options_(options), input_(std::move(standardInput)), headers_(headers) {}

  JobOutput Process(const InputItem& item, Worker& worker, const DirectOutput* direct) const {
    if (!item.error.empty()) return Problem(item.path, item.error);
    const bool fromInput = item.path == kStandardInput;
    JobOutput result;
    std::string text;
    switch (options_.command) {
      case Command::Existing: {
        const ExistingTag found = fromInput ? FindExistingKeywordMetaTagInText(input_)
                                            : FindExistingKeywordMetaTag(item.path);
        if (found.status == ExistingTag::Status::Error) {
          return Problem(item.path, "the file could not be read: " + found.error);
        }
        text = Json() ? ExistingJson(item.path, found) : ExistingTagText(found);
        break;
      }
      case Command::List:
      case Command::Generate: {
        const RunResult run = fromInput ? RunScanText(input_, worker.analysis, worker.quiet)
                                        : RunScan(item.path, worker.analysis, worker.quiet);
        if (run.outcome != RunOutcome::Completed) return Problem(item.path, run.error);
        result.err = OtherScriptNote(item.path, fromInput, worker.analysis);
        if (options_.command == Command::List && !Json() && direct != nullptr) {
          (*direct)(Header(item.path));
          WriteWordList(worker.analysis.Ranked(), options_.settings, "\n", *direct);
          (*direct)("\n");
          return result;
        }
        text = options_.command == Command::List ? WordList(item.path, worker.analysis)
                                                 : MetaTagText(item.path, worker.analysis);
        break;
      }
      case Command::Apply:
        return Apply(item.path, fromInput, worker);
      case Command::Help:
      case Command::Version:
        break;
    }
    ToLines(text);
    result.out = Header(item.path);
    result.out += text;
    result.out.push_back('\n');
    return result;
  }

 private:
  bool Json() const { return options_.format == Format::Json; }

  // The line that names the file before its text, when there are several.
  std::string Header(const std::string& file) const {
    return headers_ && !Json() ? "==> " + file + " <==\n" : std::string();
  }

  // The default reading counts Latin letters only: a page written in another script gives
  // it no words, and the user is told what does.
  std::string OtherScriptNote(const std::string& file, bool fromInput,
                              const Analysis& analysis) const {
    if (options_.settings.modernMarkup || !analysis.Ranked().empty()) return {};
    bool other = false;
    if (fromInput) {
      other = IsMostlyOtherScripts(TextPageReader(input_).Head());
    } else {
      PageReader reader;
      other = reader.Open(file) && IsMostlyOtherScripts(reader.Head());
    }
    if (!other) return {};
    return kPrefix + file +
           ": note: the page is written mostly in a script other than Latin, whose words the "
           "default reading does not count; such pages need --modern.\n";
  }

  std::string WordList(const std::string& file, const Analysis& analysis) const {
    if (!Json()) {
      // Made with newlines for line ends at once: a list can be long.
      std::string text;
      WriteWordList(analysis.Ranked(), options_.settings, "\n",
                    [&text](std::string_view part) { text.append(part); });
      return text;
    }
    return WordListJson(file, analysis.Ranked(),
                        ShowNoWordsMessage(options_.settings.ShortWordSize(),
                                           options_.settings.ThresholdFrequency()));
  }

  std::string MetaTagText(const std::string& file, const Analysis& analysis) const {
    const MetaTag tag = GenerateMetaTag(analysis.Ranked(), options_.request, options_.settings);
    return Json() ? MetaTagJson(file, tag) : tag.text;
  }

  JobOutput Apply(const std::string& file, bool fromInput, Worker& worker) const {
    PageFile page;
    std::string error;
    if (fromInput) {
      page.bytes = input_;
    } else if (!ReadPageFile(file, page, error)) {
      return Problem(file, error);
    }
    const RunResult run = RunScanText(page.bytes, worker.analysis, worker.quiet);
    if (run.outcome != RunOutcome::Completed) return Problem(file, run.error);
    const MetaTag tag =
        GenerateMetaTag(worker.analysis.Ranked(), options_.request, options_.settings);
    if (tag.noWords) return Problem(file, tag.text + " The page is left alone.");
    const PageRewrite rewrite = RewritePage(page.bytes, tag.tag);
    if (rewrite.action == PageRewrite::Action::NoHeadEnd) {
      return Problem(file, "the page has no </head>; it is left alone.");
    }
    if (rewrite.action == PageRewrite::Action::ChangesCharset) {
      return Problem(file,
                     "writing the tag would change the charset that the page declares; it is "
                     "left alone.");
    }
    const bool changed = rewrite.page != page.bytes;
    JobOutput result;
    if (options_.dryRun) {
      result.out = UnifiedDiff(page.bytes, rewrite.page, file);
    } else if (fromInput) {
      result.out = rewrite.page;
    } else if (changed && !ReplacePageFile(file, page, rewrite.page,
                                           options_.backup ? options_.backupSuffix : "", error)) {
      return Problem(file, error);
    }
    if (Json()) {
      const char* action = !changed                                          ? "unchanged"
                           : rewrite.action == PageRewrite::Action::Replaced ? "replaced"
                                                                             : "inserted";
      std::string json = "{" + JsonFileFields(file) + ",\"action\":\"" + action +
                         "\",\"tag\":" + JsonString(tag.tag) +
                         ",\"keywords\":" + std::to_string(tag.keywordCount) +
                         ",\"bytes\":" + std::to_string(tag.tagLength);
      if (options_.dryRun) json += ",\"diff\":" + JsonString(result.out);
      result.out = json + "}\n";
    }
    return result;
  }

  const CliOptions& options_;
  const std::string input_;
  const bool headers_;
};

// The line "done of total, pages per second" on a terminal's standard error, drawn once a
// batch has run for a second and erased before anything else is written there.
class ProgressLine {
 public:
  ProgressLine(std::ostream& err, bool enabled, std::size_t total)
      : err_(err), enabled_(enabled), total_(total) {}

  void Show(std::size_t done) {
    if (!enabled_) return;
    const auto now = Clock::now();
    const double seconds = std::chrono::duration<double>(now - start_).count();
    if (seconds < 1.0 || now - drawn_ < std::chrono::milliseconds(200)) return;
    drawn_ = now;
    shown_ = true;
    err_ << '\r' << kPrefix << done << " of " << total_ << " files, "
         << static_cast<long long>(static_cast<double>(done) / seconds) << " pages/s\x1b[K"
         << std::flush;
  }

  void Erase() {
    if (!shown_) return;
    err_ << "\r\x1b[K" << std::flush;
    shown_ = false;
  }

 private:
  using Clock = std::chrono::steady_clock;
  std::ostream& err_;
  const bool enabled_;
  const std::size_t total_;
  const Clock::time_point start_ = Clock::now();
  Clock::time_point drawn_ = start_;
  bool shown_ = false;
};

int WorkerCount(int jobs, std::size_t files) {
  int workers = jobs;
  if (workers <= 0) workers = static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));
  return static_cast<int>(std::min<std::size_t>(static_cast<std::size_t>(workers), files));
}

}  // namespace

int RunCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
           std::istream& in, bool stderrIsTerminal) {
  CliOptions options;
  std::string error;
  if (!ParseCliOptions(args, options, error)) {
    err << kPrefix << error << '\n';
    return 2;
  }
  if (options.command == Command::Help || options.command == Command::Version) {
    out << (options.command == Command::Help ? UsageText() : VersionText());
    out.flush();
    if (!out) {
      err << kPrefix << "cannot write the output: " << std::strerror(errno) << '\n';
      return 1;
    }
    return 0;
  }

  const std::vector<InputItem> items = ListInputs(options.files, options.recursive);
  std::string standardInput;
  if (std::any_of(items.begin(), items.end(),
                  [](const InputItem& item) { return item.path == kStandardInput; })) {
    standardInput.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  }
  const FileProcessor processor(options, std::move(standardInput), items.size() > 1);
  const int workers = WorkerCount(options.jobs, items.size());
  std::vector<std::unique_ptr<Worker>> pool;
  pool.reserve(static_cast<std::size_t>(workers));
  for (int w = 0; w < workers; ++w) pool.push_back(std::make_unique<Worker>(options.settings));

  int status = 0;
  std::string writeError;
  ProgressLine progress(err, stderrIsTerminal, items.size());
  const auto write = [&](std::string_view text) {
    progress.Erase();
    if (text.empty() || !writeError.empty()) return;
    out.write(text.data(), static_cast<std::streamsize>(text.size()));
    if (!out) writeError = std::strerror(errno);
  };
  // One job at a time runs on this thread and delivers before the next begins: its output
  // may go out as it is made.
  const DirectOutput direct = write;
  RunJobs(
      items.size(), workers,
      [&](std::size_t index, int worker) {
        return processor.Process(items[index], *pool[static_cast<std::size_t>(worker)],
                                 workers <= 1 || items.size() <= 1 ? &direct : nullptr);
      },
      [&](JobOutput& output) {
        progress.Erase();
        if (output.failed) status = 1;
        if (!output.err.empty()) err << output.err;
        write(output.out);
      },
      [&](std::size_t done) { progress.Show(done); });
  progress.Erase();
  if (writeError.empty()) {
    out.flush();
    if (!out) writeError = std::strerror(errno);
  }
  if (!writeError.empty()) {
    err << kPrefix << "cannot write the output: " << writeError << '\n';
    status = 1;
  }
  return status;
}

int RunCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  std::istringstream none;
  return RunCli(args, out, err, none);
}

}  // namespace tagwright::cli
