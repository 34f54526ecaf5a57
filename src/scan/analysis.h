#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_set>

#include "scan/scan_observer.h"
#include "scan/weight_sources.h"
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
  /// empty after stripping (nothing else happens for it).
  bool ScanDocumentLine(std::string line);

  /// The same for a line in a buffer that the caller reads the next line into: `line` is
  /// rewritten in place and keeps its storage.
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
  ScanObserver& observer_;
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

/// Resets `analysis` and reads `path` line by line into it, yielding after every non-empty
/// line and stopping after the line on which the observer asks to stop. A completed scan is
/// finished (minimum frequency and scaling) before returning.
RunResult RunScan(const std::string& path, Analysis& analysis, ScanObserver& observer);

/// The same for a page already in memory, cut into lines as a file is.
RunResult RunScanText(std::string_view page, Analysis& analysis, ScanObserver& observer);

}  // namespace tagwright
