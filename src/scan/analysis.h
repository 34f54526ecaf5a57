#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_set>
#include <utility>
#include <vector>

#include "scan/scan_observer.h"
#include "scan/weight_sources.h"
#include "util/charset.h"
#include "util/settings.h"
#include "words/ranked_word.h"
#include "words/word_table.h"

namespace tagwright {

class TagScanner;

/// The run state of one analysis: the scan context and the word table, from one reset to the
/// next. Settings are read through `settings` at the moment of use; `observer` hears of every
/// new word and every chance to yield. Both must outlive the analysis.
class Analysis {
 public:
  Analysis(const AnalysisSettings& settings, ScanObserver& observer);
  ~Analysis();
  Analysis(const Analysis&) = delete;
  Analysis& operator=(const Analysis&) = delete;

  /// Empties the word table and resets the scan context (before every scan).
  void Reset();
  /// From the next scan on, records into `recorder` where each word's value comes from (for
  /// a report; null, the default, records nothing). Reset() empties it. It must outlive the
  /// analysis.
  void RecordWeightSources(WeightSourceRecorder* recorder);
  /// From the next scan on, notes the words that stand in the page's title or an h1, for
  /// DropWordsOutsideTitle.
  void NoteTitleWords();
  /// After Finish: removes from Ranked() every word for which `drop` is true, unless the word
  /// stands in the page's title or an h1 (noted since NoteTitleWords; in the modern reading
  /// with a stemmer, any form of the word). The others keep their rank order and values.
  void DropWordsOutsideTitle(const std::function<bool(std::string_view)>& drop);
  /// In the modern reading, takes the language of a page that does not declare one from its
  /// beginning (`head`, UTF-8). Called after Reset, before the first line.
  void GuessLanguageFrom(std::string_view head);

  /// Handles one line as read from the document: lower-cases it, strips its blanks, encodes
  /// its markup, appends the closing blank and scans it. Returns false for a line that is
  /// empty after stripping (nothing else happens for it). `line` is rewritten in place and
  /// keeps its storage, so that the caller can read the next line into it.
  /// `next`, when given, is the line after it as read: a hint that lets the scan ask for
  /// memory ahead.
  bool ScanLineInPlace(std::string& line, std::string_view next = {});

  /// After a completed scan: removes the words below the minimum frequency and scales the key
  /// values to percent of the highest. The result is Ranked().
  void Finish();

  /// The word table during the scan (unscaled). In the modern reading the words of blocks still
  /// open are not counted yet, and inflections are merged only by Finish.
  const WordTable& Table() const { return table_; }
  /// The modern reading: counts the words that open blocks hold back (Finish does it too).
  void CountHeldWords();
  /// Every word counted so far in rank order, unscaled, merged by stem as Ranked() merges them
  /// (shown in the form the page uses most). Views valid as Ranked()'s.
  RankedWords CountedWords() const;
  /// The filtered and scaled words in rank order, after Finish(); their words are views into
  /// the table, valid until the next Reset() or the end of the analysis.
  const RankedWords& Ranked() const { return ranked_; }

 private:
  const AnalysisSettings& settings_;
  WeightSourceRecorder* recorder_ = nullptr;
  std::unordered_set<std::string> titleWords_;
  WordTable table_;
  RankedWords ranked_;
  std::unique_ptr<TagScanner> scanner_;
};

enum class RunOutcome { Completed, Stopped, Failed };

struct RunResult {
  RunOutcome outcome = RunOutcome::Completed;
  /// A plain description of the failure when the outcome is Failed.
  std::string error;
};

/// Where the lines of a scan come from.
class LineSource {
 public:
  virtual ~LineSource() = default;
  /// Prepares the first line; false (with Error() set) when the lines cannot be read.
  virtual bool Open() { return true; }
  /// The next line as read, without its line end; false after the last.
  virtual bool Next(std::string& line) = 0;
  /// The page's beginning (UTF-8), from which the modern reading guesses its language.
  virtual std::string_view Head() const = 0;
  /// A plain description of a failure to read; empty when there is none.
  virtual std::string Error() const { return {}; }
};

/// The lines of a file, in the charset it declares or that is guessed for it.
class FileLines final : public LineSource {
 public:
  explicit FileLines(std::string path) : path_(std::move(path)) {}
  bool Open() override { return reader_.Open(path_); }
  bool Next(std::string& line) override { return reader_.Next(line); }
  std::string_view Head() const override { return reader_.Head(); }
  std::string Error() const override { return reader_.Error(); }

 private:
  std::string path_;
  PageReader reader_;
};

/// The lines of a page held in memory, cut and decoded as a file's are. The page must outlive
/// the scan.
class PageLines final : public LineSource {
 public:
  explicit PageLines(std::string_view page) : page_(page) {}
  bool Open() override;
  bool Next(std::string& line) override { return reader_->Next(line); }
  std::string_view Head() const override { return reader_->Head(); }

 private:
  std::string_view page_;
  std::unique_ptr<TextPageReader> reader_;
};

/// Lines handed over as they are, with no charset and no cutting: each string is one line
/// (for tests and fuzzers). `head` stands for the page's beginning.
class LineList final : public LineSource {
 public:
  explicit LineList(std::vector<std::string> lines, std::string head = {})
      : lines_(std::move(lines)), head_(std::move(head)) {}
  bool Next(std::string& line) override;
  std::string_view Head() const override { return head_; }

 private:
  std::vector<std::string> lines_;
  std::string head_;
  std::size_t next_ = 0;
};

/// Resets `analysis` and reads the lines of `source` into it, yielding after every non-empty
/// line and stopping after the line on which the observer asks to stop. A completed scan is
/// finished (minimum frequency and scaling) before returning.
RunResult RunScan(LineSource& source, Analysis& analysis, ScanObserver& observer);
inline RunResult RunScan(LineSource&& source, Analysis& analysis, ScanObserver& observer) {
  return RunScan(source, analysis, observer);
}

}  // namespace tagwright
