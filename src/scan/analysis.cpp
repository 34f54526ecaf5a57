#include "scan/analysis.h"

#include <exception>
#include <memory>
#include <new>

#include "scan/markup_encoding.h"
#include "scan/modern_reading.h"
#include "scan/tag_scanner.h"
#include "util/charset.h"
#include "util/str_proc.h"
#include "util/text_encoding.h"
#include "util/text_lines.h"
#include "words/stop_words.h"
#include "words/word_stems.h"

namespace tagwright {

Analysis::Analysis(const AnalysisSettings& settings, ScanObserver& observer)
    : settings_(settings), scanner_(std::make_unique<TagScanner>(settings, table_, observer)) {}

Analysis::~Analysis() = default;

void Analysis::Reset() {
  table_.Reset();
  ranked_.clear();
  scanner_->Reset();
  if (recorder_ != nullptr) recorder_->Reset();
  titleWords_.clear();
}

void Analysis::RecordWeightSources(WeightSourceRecorder* recorder) {
  recorder_ = recorder;
  scanner_->RecordWeightSources(recorder);
}

void Analysis::NoteTitleWords() { scanner_->NoteTitleWords(&titleWords_); }

void Analysis::DropWordsOutsideTitle(const std::function<bool(std::string_view)>& drop) {
  WordStemmer& stemmer = scanner_->Stemmer();
  const bool byStem = settings_.ModernMarkup() && stemmer.Active();
  std::unordered_set<std::string> titleStems;
  if (byStem) {
    for (const std::string& word : titleWords_) titleStems.emplace(stemmer.Stem(word));
  }
  const auto inTitle = [&](std::string_view word) {
    // A final "s" is merged: the table shows a word in one of its two forms.
    std::string form(word);
    if (titleWords_.contains(form)) return true;
    if (form.ends_with('s') && titleWords_.contains(form.substr(0, form.size() - 1))) return true;
    if (titleWords_.contains(form + 's')) return true;
    return byStem && titleStems.contains(std::string(stemmer.Stem(word)));
  };
  std::erase_if(ranked_, [&](const RankedWord& w) { return drop(w.word) && !inTitle(w.word); });
}

void Analysis::GuessLanguageFrom(std::string_view head) {
  if (!settings_.ModernMarkup()) return;
  scanner_->SetLanguage(GuessLanguage(head));
  scanner_->SetPageHasMain(HasMainElement(head));
}

bool Analysis::ScanLineInPlace(std::string& line, std::string_view next) {
  if (!next.empty()) scanner_->LookAheadToLine(next);
  // Nothing that follows adds a byte from 0x80 up: a line of ASCII needs no letters spelled.
  const bool notAscii = LowerCaseAscii(line);
  // Only blanks are stripped; tabs and other characters stay.
  const std::size_t last = line.find_last_not_of(' ');
  if (last == std::string::npos) return false;
  line.erase(last + 1);
  line.erase(0, line.find_first_not_of(' '));
  // The closing blank ends a word at the end of the line. It takes part in no replacement,
  // so it is added first: the encoding then never has to grow the line for it.
  line.push_back(' ');
  if (settings_.ModernMarkup()) {
    // The modern reading works on UTF-8 text throughout.
    if (notAscii && !IsValidUtf8(line)) line = Windows1252ToUtf8(line);
    EncodeMarkup(line, false);
  } else {
    EncodeMarkup(line, notAscii);
  }
  scanner_->ScanLine(line);
  return true;
}

void Analysis::Finish() {
  scanner_->Finish();
  // Nothing more is counted: the index goes before the ranked list is made beside the table.
  table_.ReleaseIndex();
  // The modern reading merges inflections by their stem, once the page is read.
  if (settings_.ModernMarkup() && scanner_->Stemmer().Active()) {
    ranked_ =
        MergeByStem(table_.Ranked(), scanner_->Stemmer(), settings_.ThresholdFrequency(), true);
  } else {
    ranked_ = table_.Ranked(settings_.ThresholdFrequency(), true);
  }
}

void Analysis::CountHeldWords() { scanner_->Finish(); }

RankedWords Analysis::CountedWords() const {
  if (!settings_.ModernMarkup() || !scanner_->Stemmer().Active()) return table_.Ranked();
  return MergeByStem(table_.Ranked(), scanner_->Stemmer(), 1, false);
}

bool PageLines::Open() {
  reader_ = std::make_unique<TextPageReader>(page_);
  return true;
}

bool LineList::Next(std::string& line) {
  if (next_ >= lines_.size()) return false;
  line = lines_[next_++];
  return true;
}

RunResult RunScan(LineSource& source, Analysis& analysis, ScanObserver& observer) {
  try {
    analysis.Reset();
    if (!source.Open()) return {RunOutcome::Failed, source.Error()};
    analysis.GuessLanguageFrom(source.Head());
    // Each line is read before the one above it is scanned, as a hint for the scan.
    std::string line;
    std::string next;
    for (bool more = source.Next(line); more; line.swap(next)) {
      more = source.Next(next);
      if (!analysis.ScanLineInPlace(line, more ? std::string_view(next) : std::string_view())) {
        continue;
      }
      observer.OnYield();
      if (observer.StopRequested()) return {RunOutcome::Stopped, ""};
    }
    if (const std::string error = source.Error(); !error.empty()) {
      return {RunOutcome::Failed, error};
    }
    analysis.Finish();
  } catch (const std::bad_alloc&) {
    return {RunOutcome::Failed, "There is not enough memory to analyse the file."};
  } catch (const std::exception& e) {
    return {RunOutcome::Failed, std::string("The analysis failed: ") + e.what()};
  }
  return {};
}

}  // namespace tagwright
