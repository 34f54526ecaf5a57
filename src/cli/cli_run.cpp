#include "cli_run.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <ctime>
#include <functional>
#include <iterator>
#include <memory>
#include <optional>
#include <ostream>
#include <sstream>
#include <thread>
#include <unordered_map>
#include <unordered_set>
#include <utility>
#include <vector>

#include "cli_options.h"
#include "file_list.h"
#include "interrupt.h"
#include "job_pool.h"
#include "json_output.h"
#include "output/meta_tag.h"
#include "output/site_report.h"
#include "output/unified_diff.h"
#include "output/word_list.h"
#include "page_file.h"
#include "page_problem.h"
#include "run_summary.h"
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

JobOutput Problem(const std::string& file, const PageProblem& problem) {
  return {"", kPrefix + file + ": " + problem.message + "\n", true, PageOutcome::LeftAlone,
          problem.reason};
}

// Why `apply` leaves a page alone; an empty message when it writes the tag.
PageProblem LeftAloneReason(PageRewrite::Action action, const std::string& charset) {
  switch (action) {
    case PageRewrite::Action::Replaced:
    case PageRewrite::Action::Inserted:
      break;
    case PageRewrite::Action::NoHead:
      return {"the page has no head for the tag; it is left alone.", reason::kNoHead};
    case PageRewrite::Action::HeadTooLong:
      return {"the page's head runs on past its first MiB; it is left alone.",
              reason::kHeadTooLong};
    case PageRewrite::Action::WideCharset:
      if (charset.starts_with("utf-16")) return {"UTF-16 pages are not rewritten.", reason::kUtf16};
      if (charset.starts_with("utf-32")) return {"UTF-32 pages are not rewritten.", reason::kUtf32};
      return {"pages in " + charset + " are not rewritten.", reason::kCharsetNotWritten};
    case PageRewrite::Action::ChangesCharset:
      return {"writing the tag would change the charset that the page declares; it is left alone.",
              reason::kCharset};
  }
  return {};
}

JobOutput Problem(const std::string& file, const std::string& message) {
  return Problem(file, {message, reason::kOther});
}

timespec Now() {
  timespec now{};
  ::clock_gettime(CLOCK_REALTIME, &now);
  return now;
}

// One worker's analysis, kept from file to file. Only a report records where the words'
// values come from; only a site notes the words of titles and h1s.
struct Worker {
  Worker(const Settings& settings, bool forReport, bool forSite) : analysis(settings, quiet) {
    if (forReport) analysis.RecordWeightSources(&sources);
    if (forSite) analysis.NoteTitleWords();
  }
  ScanObserver quiet;
  WeightSourceRecorder sources;
  Analysis analysis;
};

// Where a job may write its standard output at once instead of keeping it: given when the
// files are processed one at a time, so that a long word list is never held whole.
using DirectOutput = std::function<void(std::string_view)>;

// Names the words that leave a page's ranking.
using WordDrop = std::function<bool(std::string_view)>;

// What the first pass of --site saw of one page: whether it was read, and its ranked words.
struct PagePresence {
  bool read = false;
  std::vector<std::string> words;
};

class FileProcessor {
 public:
  FileProcessor(const CliOptions& options, std::string standardInput, bool headers)
      : options_(options), input_(std::move(standardInput)), headers_(headers) {}

  // --site: from now on, the words `drop` names leave each page's ranking unless they stand
  // in its title or an h1.
  void DropWords(WordDrop drop) { drop_ = std::move(drop); }

  // The first pass of --site: the words that the page's ranking holds. A page that cannot be
  // read counts for nothing; the second pass tells of it.
  PagePresence Presence(const InputItem& item, Worker& worker) const {
    PagePresence presence;
    if (!item.error.empty() || !item.sameAs.empty()) return presence;
    const RunResult run = item.path == kStandardInput
                              ? RunScan(PageLines(input_), worker.analysis, worker.quiet)
                              : RunScan(FileLines(item.path), worker.analysis, worker.quiet);
    if (run.outcome != RunOutcome::Completed) return presence;
    presence.read = true;
    presence.words.reserve(worker.analysis.Ranked().size());
    for (const RankedWord& w : worker.analysis.Ranked()) presence.words.emplace_back(w.word);
    return presence;
  }

  JobOutput Process(const InputItem& item, Worker& worker, const DirectOutput* direct) const {
    if (!item.error.empty()) return Problem(item.path, {item.error, item.reason});
    if (!item.sameAs.empty()) {
      JobOutput note;
      note.err =
          kPrefix + item.path + ": the same file as " + item.sameAs + "; it is processed once.\n";
      return note;
    }
    const bool fromInput = item.path == kStandardInput;
    JobOutput result;
    std::string text;
    switch (options_.command) {
      case Command::Existing: {
        const bool modern = options_.settings.modernMarkup;
        const ExistingTag found = !fromInput ? FindExistingKeywordsTag(item.path, modern)
                                  : modern   ? FindKeywordsTagAsApplyDoes(input_)
                                             : FindExistingKeywordMetaTagInText(input_);
        if (found.status == ExistingTag::Status::Error) {
          return Problem(item.path, "the file could not be read: " + found.error);
        }
        text = Json() ? ExistingJson(item.path, found) : ExistingTagText(found);
        break;
      }
      case Command::List:
      case Command::Generate: {
        const RunResult run = fromInput
                                  ? RunScan(PageLines(input_), worker.analysis, worker.quiet)
                                  : RunScan(FileLines(item.path), worker.analysis, worker.quiet);
        if (run.outcome != RunOutcome::Completed) return Problem(item.path, run.error);
        result.err = OtherScriptNote(item.path, fromInput, worker.analysis);
        if (drop_) worker.analysis.DropWordsOutsideTitle(drop_);
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
      case Command::Report:
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

  // A report's page: gathered into `page`; nothing to print but a problem.
  JobOutput Report(const InputItem& item, Worker& worker, ReportPage& page) const {
    if (!item.error.empty()) return Problem(item.path, {item.error, item.reason});
    PageFile file;
    if (item.path == kStandardInput) {
      file.bytes = input_;
    } else if (PageProblem problem; !ReadPageFile(item.path, file, problem)) {
      return Problem(item.path, problem);
    }
    std::string error;
    if (!AnalyseReportPage(item.path, file.bytes, worker.analysis, worker.sources,
                           options_.settings, options_.request, page, error,
                           drop_ ? &drop_ : nullptr)) {
      return Problem(item.path, error);
    }
    return {};
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
    if (fromInput) {
      page.bytes = input_;
    } else if (PageProblem problem; !ReadPageFile(file, page, problem)) {
      return Problem(file, problem);
    }
    // A page left alone is still passed on by `apply -`, so that a pipeline keeps it.
    const auto leftAlone = [&](const std::string& message, const char* why) {
      JobOutput result = Problem(file, {message, why});
      if (fromInput && !options_.dryRun && !Json()) result.out = page.bytes;
      return result;
    };
    if (const std::string form = WideUnicodeForm(page.bytes); !form.empty()) {
      return leftAlone(form + " pages are not rewritten.",
                       form == "UTF-16" ? reason::kUtf16 : reason::kUtf32);
    }
    const RunResult run = RunScan(PageLines(page.bytes), worker.analysis, worker.quiet);
    if (run.outcome != RunOutcome::Completed) return leftAlone(run.error, reason::kOther);
    if (drop_) worker.analysis.DropWordsOutsideTitle(drop_);
    PagePlan plan = PlanRewrite(page.bytes);
    // The tag's bytes are counted as they are written into the page, in its charset.
    const std::string kept = options_.keepExisting ? KeywordsList(plan.existingKeywords) : "";
    const auto compose = [&](const std::string& charset) {
      const TagMeasure measure = [&charset](std::string_view piece) {
        return ContentForPage(piece, charset).size();
      };
      return GenerateMetaTag(worker.analysis.Ranked(), options_.request, options_.settings, kept,
                             measure);
    };
    MetaTag tag = compose(plan.charset);
    if (tag.noWords) return leftAlone(tag.text + " The page is left alone.", reason::kNoKeywords);
    if (const PageProblem why = LeftAloneReason(plan.action, plan.charset); !why.message.empty()) {
      return leftAlone(why.message, why.reason.c_str());
    }
    if (tag.tag.find("CONTENT=\"\"") != std::string::npos) {
      return leftAlone("the limits leave no room for a keyword in the tag; the page is left alone.",
                       reason::kNoKeywords);
    }
    PageRewrite rewrite = RewritePage(page.bytes, plan, tag.tag);
    if (!rewrite.page.empty() && rewrite.charset != plan.charset) {
      // The page's guessed charset would change with the letters as bytes: counted again for
      // the tag in ASCII with character references.
      plan.charset = rewrite.charset;
      plan.guessed = false;
      tag = compose(plan.charset);
      rewrite = RewritePage(page.bytes, plan, tag.tag);
    }
    if (const PageProblem why = LeftAloneReason(rewrite.action, rewrite.charset);
        !why.message.empty()) {
      return leftAlone(why.message, why.reason.c_str());
    }
    const bool changed = rewrite.page != page.bytes;
    if (changed && !fromInput) {
      PageProblem problem;
      const bool possible = options_.dryRun
                                ? CheckReplaceable(file, options_.breakHardLinks, problem)
                                : ReplacePageFile(file, page, rewrite.page,
                                                  {options_.backup ? options_.backupSuffix : "",
                                                   options_.breakHardLinks},
                                                  problem);
      if (!possible) return Problem(file, problem);
    }
    JobOutput result;
    result.outcome = changed ? PageOutcome::Changed : PageOutcome::Unchanged;
    if (rewrite.otherKeywordsTags > 0) {
      result.err = kPrefix + file + ": note: the head has " +
                   std::to_string(rewrite.otherKeywordsTags + 1) +
                   " keywords meta tags; only the first is replaced.\n";
    }
    if (options_.dryRun) {
      const timespec now = Now();
      result.out =
          UnifiedDiff(page.bytes, rewrite.page,
                      DiffLabel(file, fromInput ? now : page.info.st_mtim), DiffLabel(file, now));
    } else if (fromInput) {
      result.out = rewrite.page;
    }
    if (Json()) {
      const char* action = !changed                                          ? "unchanged"
                           : rewrite.action == PageRewrite::Action::Replaced ? "replaced"
                                                                             : "inserted";
      result.out =
          ApplyJson(file, action, tag,
                    options_.dryRun ? std::optional<std::string_view>(result.out) : std::nullopt);
    }
    return result;
  }

  const CliOptions& options_;
  const std::string input_;
  const bool headers_;
  WordDrop drop_;
};

// A site's furniture: the words on more than half of its pages, and on 5 at least.
constexpr std::size_t kFurnitureMinPages = 5;

struct SiteFurniture {
  std::size_t pages = 0;
  // Most pages first, then in byte order.
  std::vector<std::string> words;
};

// The first pass of --site: counts on how many pages each word is ranked, with every worker,
// and names the furniture. Memory grows with the site's distinct words only.
SiteFurniture FindSiteFurniture(const std::vector<InputItem>& items, const FileProcessor& processor,
                                std::vector<std::unique_ptr<Worker>>& pool) {
  std::unordered_map<std::string, std::size_t> pagesPerWord;
  std::vector<PagePresence> presence(items.size());
  SiteFurniture site;
  std::size_t delivered = 0;
  RunJobs(
      items.size(), static_cast<int>(pool.size()),
      [&](std::size_t index, int worker) {
        presence[index] = processor.Presence(items[index], *pool[static_cast<std::size_t>(worker)]);
        return JobOutput{};
      },
      [&](JobOutput&) {
        PagePresence page = std::move(presence[delivered++]);
        if (!page.read) return;
        ++site.pages;
        for (std::string& word : page.words) ++pagesPerWord[std::move(word)];
      },
      [](std::size_t) {});
  std::vector<std::pair<std::size_t, std::string>> found;
  for (auto& [word, pages] : pagesPerWord) {
    if (pages >= kFurnitureMinPages && pages * 2 > site.pages) found.emplace_back(pages, word);
  }
  std::sort(found.begin(), found.end(), [](const auto& a, const auto& b) {
    return a.first != b.first ? a.first > b.first : a.second < b.second;
  });
  for (auto& entry : found) site.words.push_back(std::move(entry.second));
  return site;
}

// The line on standard error that names a site's furniture.
std::string FurnitureLine(const SiteFurniture& site) {
  std::string line = std::string(kPrefix) + "site of " + std::to_string(site.pages) + " pages: ";
  if (site.words.empty()) {
    return line + "no word stands on more than half of them (and at least " +
           std::to_string(kFurnitureMinPages) + "); none is dropped.\n";
  }
  line += "its furniture, dropped from the rankings except under a title or h1: ";
  for (std::size_t i = 0; i < site.words.size(); ++i) {
    if (i > 0) line += ", ";
    line += site.words[i];
  }
  return line + "\n";
}

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

// The folder that a report's links start from: the folder of its file, or the current one.
std::string ReportFolder(const std::string& outputFile) {
  const std::size_t slash = outputFile.rfind('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : outputFile.substr(0, slash);
}

std::string ReportHeading(const std::vector<std::string>& files) {
  std::string heading = "Keywords report: ";
  for (std::size_t i = 0; i < files.size(); ++i) {
    if (i == 3) {
      heading += " and " + std::to_string(files.size() - 3) + " more";
      break;
    }
    if (i > 0) heading += ", ";
    heading += files[i];
  }
  return heading;
}

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

  const bool apply = options.command == Command::Apply;
  const std::vector<InputItem> items =
      ListInputs(options.files, {options.recursive, options.follow, apply});
  std::string standardInput;
  if (std::any_of(items.begin(), items.end(),
                  [](const InputItem& item) { return item.path == kStandardInput; })) {
    standardInput.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  }
  FileProcessor processor(options, std::move(standardInput), items.size() > 1);
  const int workers = WorkerCount(options.jobs, items.size());
  std::vector<std::unique_ptr<Worker>> pool;
  pool.reserve(static_cast<std::size_t>(workers));
  const bool report = options.command == Command::Report;
  for (int w = 0; w < workers; ++w) {
    pool.push_back(std::make_unique<Worker>(options.settings, report, options.site));
  }
  // --site reads the pages twice: once for the words they share, then as usual.
  SiteFurniture furniture;
  std::unordered_set<std::string> furnitureWords;
  if (options.site) {
    furniture = FindSiteFurniture(items, processor, pool);
    furnitureWords.insert(furniture.words.begin(), furniture.words.end());
    if (options.format != Format::Json) err << FurnitureLine(furniture);
    if (!furnitureWords.empty()) {
      processor.DropWords([&furnitureWords](std::string_view word) {
        return furnitureWords.contains(std::string(word));
      });
    }
  }

  int status = 0;
  RunSummary summary;
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
  // A report's pages are gathered in argument order as they are delivered.
  std::vector<ReportPage> reportPages(report ? items.size() : 0);
  std::size_t delivered = 0;
  SiteReport site;
  RunJobs(
      items.size(), workers,
      [&](std::size_t index, int worker) {
        Worker& w = *pool[static_cast<std::size_t>(worker)];
        if (report) return processor.Report(items[index], w, reportPages[index]);
        return processor.Process(items[index], w,
                                 workers <= 1 || items.size() <= 1 ? &direct : nullptr);
      },
      [&](JobOutput& output) {
        progress.Erase();
        if (output.failed) status = 1;
        summary.Add(output);
        if (!output.err.empty()) err << output.err;
        if (report) {
          if (!output.failed) site.Add(std::move(reportPages[delivered]));
          reportPages[delivered] = ReportPage{};
          ++delivered;
          return;
        }
        write(output.out);
      },
      [&](std::size_t done) { progress.Show(done); });
  progress.Erase();
  if (report) {
    const std::string html =
        site.Html(ReportFolder(options.outputFile), ReportHeading(options.files));
    if (options.outputFile.empty()) {
      write(html);
    } else {
      // An interrupt waits for the report to be whole in its place, or gone.
      const PageWriteScope writing;
      if (std::string failure; !WriteFileAtomically(options.outputFile, html, failure)) {
        err << kPrefix << options.outputFile << ": " << failure << '\n';
        return 1;
      }
    }
  }
  if (options.site && options.format == Format::Json) {
    write(SiteFurnitureJson(furniture.words, furniture.pages));
  }
  if (apply && (summary.Pages() > 1 || stderrIsTerminal)) {
    err << kPrefix << summary.Line(options.dryRun) << '\n';
  }
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
