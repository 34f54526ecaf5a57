#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

#include "scan/bracket_lookahead.h"
#include "scan/link_density.h"
#include "scan/modern_reading.h"
#include "scan/scan_observer.h"
#include "scan/weight_context.h"
#include "scan/weight_sources.h"
#include "util/settings.h"
#include "words/stop_words.h"
#include "words/word_filters.h"
#include "words/word_stems.h"
#include "words/word_table.h"

namespace tagwright {

/// Walks encoded lines, skipping tags, comments, scripts, styles (and whole tables at table
/// weight 0), following the weighting contexts across lines, and hands every run of letters
/// to the word step with the weight of its context.
class TagScanner final : public ContextWeigher, private HeldWordSink {
 public:
  TagScanner(const AnalysisSettings& settings, WordTable& table, ScanObserver& observer);

  /// Resets every context variable (before the first line of a scan).
  void Reset();
  /// The page's language until an `<html lang>` says otherwise (empty: English).
  void SetLanguage(std::string_view language) {
    stopWords_ = StopWords(language);
    stemmer_.SetLanguage(language);
  }
  /// The modern reading: the page has a main or article element (HasMainElement), so the
  /// text outside them weighs half.
  void SetPageHasMain(bool hasMain) { context_.pageHasMain = hasMain; }
  /// After the last line: counts the words that the open blocks still hold back.
  void Finish() { blocks_.Flush(); }
  /// The modern reading: the stemmer of the page's language, by which the counted words are
  /// merged at the end (not active for a language without one).
  WordStemmer& Stemmer() { return stemmer_; }

  /// Scans one encoded line that ends in the closing blank. The line is given back unchanged.
  void ScanLine(std::string& line);

  /// A hint that the line after the one about to be scanned begins with `raw` (as read): the
  /// index places of its first words are asked for, so that the waits for memory overlap the
  /// scan of this line. Changes nothing that is counted.
  void LookAheadToLine(std::string_view raw) const;

  /// The weight of one occurrence at the current position (at least 1).
  float ContextWeight() const override;
  /// The same weight split by where it comes from.
  WeightSplit ContextWeightSplit() const;

  /// Hands every counted occurrence, with its weight split by source, to `recorder` (none
  /// when null, the default). It must outlive the scans.
  void RecordWeightSources(WeightSourceRecorder* recorder) { recorder_ = recorder; }
  /// Adds every word counted in the title or an h1, as the table counts it, to `words` (none
  /// when null, the default). It must outlive the scans.
  void NoteTitleWords(std::unordered_set<std::string>* words) { titleWords_ = words; }

 private:
  void ScanStrLine();
  /// The two readings, chosen once a line: each gets a scan loop of its own, with no test of
  /// the reading per word.
  struct ClassicReading {
    static constexpr bool kModern = false;
  };
  struct ModernReading {
    static constexpr bool kModern = true;
  };
  /// Scans the line from the position on.
  template <class Reading>
  void ScanText();
  /// Takes the words, plain characters and ordinary tags of the text from the position on,
  /// as long as nothing else comes; false when it took nothing.
  template <class Reading>
  [[gnu::always_inline]] inline bool TakeTextRun();
  /// What PassRegions did: nothing, passed a region (a comment, style or script), or ended
  /// the line within one (or within a skipped table).
  enum class Region { None, Passed, LineDone };
  /// Goes past the end of a font tag, counts tables (or skips them at table weight 0) and
  /// passes comments, styles and scripts.
  [[gnu::always_inline]] inline Region PassRegions();
  /// Takes a ">" outside tags or a marker at the position; false for any other character.
  [[gnu::always_inline]] inline bool TakeMarker(char c);
  /// Takes a word or a run of other characters at the position.
  template <class Reading>
  [[gnu::always_inline]] inline void TakeText(char c);
  /// True when `marker` (three characters or more) stands at the position.
  bool At(std::string_view marker) const {
    // The second and third characters settle most tags without a compare.
    return position_ + marker.size() <= line_.size() && line_[position_ + 1] == marker[1] &&
           line_[position_ + 2] == marker[2] &&
           std::string_view(line_).substr(position_, marker.size()) == marker;
  }
  /// True in the text: outside any tag, comment, script, style, meta tag's content and
  /// skipped table.
  bool InPlainText() const {
    return !(skipToTagEnd_ | inTag_ | inComment_ | inStyle_ | inScript_ | context_.metaDescription |
             context_.metaKeywords) &&
           (context_.tableDepth <= 0 || settings_.TableWeight() != 0);
  }
  void TakeWord();
  /// A word of the default reading further on in the line, with its stem hash unless it is
  /// short (then the word is dropped without one).
  struct Upcoming {
    std::size_t at = std::string::npos;
    std::size_t length = 0;
    std::uint32_t hash = 0;
    bool hashed = false;
  };
  Upcoming LookAt(std::size_t at) const;
  /// Looks at the two words after the one ending at `end` and asks for their places in the
  /// table's index, so that the waits for memory overlap the work on the words before them.
  /// `lookedAt`: the word ending at `end` is the one that the last call looked at first.
  void LookAhead(std::size_t end, bool lookedAt);
  /// The modern reading's word step: a run of letters of any script, split into words.
  void TakeModernWord();
  /// Counts a word of the modern reading unless a filter drops it: `written` is the word as
  /// the page spells it (for the common words), `word` with its Latin letters transliterated.
  void CountModernWord(std::string_view written, std::string_view word, bool ascii);
  /// Counts a word that passed the short and common-word filters, with `weight`.
  void CountWeighted(std::string_view word, float weight);
  /// Whether the short-word filter drops a word of the modern reading (`ascii`: its letters
  /// are all ASCII).
  bool IsShortModernWord(std::string_view word, bool ascii) const;
  void CountHeld(std::string_view written, std::string_view word, float weight) override;
  /// The modern reading of the tag whose name is at the position; returns the position of the
  /// next bracket of the tag, where its scan goes on.
  std::size_t ReadTagModern();
  /// Notes a counted word that stands in the title or an h1, when title words are noted.
  void NoteIfTitleWord(std::string_view word, WordOutcome outcome);
  /// Ends a code signature that is a heading once the heading has ended.
  void EndHeadingSignature();
  /// An element's start or end tag (name with "/" for an end) seen while content is skipped.
  void SkippedTagSeen(std::string_view name);
  void ScanTag();
  void ScanMetaTag();
  void ScanFontTag();
  void EndFontTag();
  bool SkipPast(std::string_view marker);
  bool SkipTable();
  void LowerTagDepth();
  bool NestedBracketsCloseOnLine(std::int64_t depth);
  std::size_t NextClosingBracket(std::size_t from);
  /// The next "<" or ">" at or after `from` that is not within the quotes of an attribute
  /// value closed on this line; the line's length when none. A value whose quotes stay open
  /// to the line's end holds the rest of the line when no ">" follows it: its quotation mark
  /// is then noted in lineEndQuote_.
  std::size_t NextTagBracket(std::size_t from);
  /// The ">" that ends the tag whose attributes begin at `from`: the next one outside the
  /// quotes of attribute values ("<" passed over); the line's length when none.
  std::size_t TagEnd(std::size_t from);
  /// At a line's start: goes on with an attribute value or a meta tag's content that the
  /// line before left open.
  void ContinueOpenTag();
  /// At a line's end: decides what of an open tag goes on to the next line.
  void EndLine();
  /// True when the quotation mark at `at` opens an attribute value (it follows an "=").
  bool IsValueQuote(std::size_t at) const;
  /// The next `quote` at or after `from`; the line's length when none.
  std::size_t NextQuote(char quote, std::size_t from);

  const AnalysisSettings& settings_;
  WordTable& table_;
  ScanObserver& observer_;
  WeightSourceRecorder* recorder_ = nullptr;
  std::unordered_set<std::string>* titleWords_ = nullptr;

  std::string line_;
  std::size_t position_ = 0;
  std::string_view word_;  // the word being taken, within line_

  bool inTag_ = false;
  std::int64_t tagDepth_ = 0;
  bool skipToTagEnd_ = false;
  bool inComment_ = false;
  bool inStyle_ = false;
  bool inScript_ = false;
  WeightContext context_;

  // Per-line memos that keep the searches from rescanning the rest of a long line.
  struct Memo {
    std::size_t from = std::string::npos;  // where the remembered search started
    std::size_t found = 0;                 // its result (the line's length when none)
    std::size_t end = 0;  // FindFrom: where that occurrence ends, blanks within it included
  };
  /// End of the first occurrence of `pattern` starting at or after `from` (blanks between its
  /// characters ignored when `skipBlanks`), or npos; `memo` remembers the search.
  std::size_t FindFrom(Memo& memo, std::size_t from, std::string_view pattern, bool skipBlanks);

  Memo nextBracket_;
  Memo nextDoubleQuote_, nextSingleQuote_;
  // In a meta tag's content: the ">" that ends the tag on this line (0 if none is known).
  std::size_t metaTagEnd_ = 0;
  // The position of the "<" that opened the tag at depth 1 on this line; npos when the open
  // tag began on an earlier line.
  std::size_t tagStart_ = std::string::npos;
  // The quotation mark of an attribute value that goes on past the line's end (0 if none):
  // lineEndQuote_ for the line being scanned, openQuote_ carried to the next.
  char lineEndQuote_ = 0;
  char openQuote_ = 0;
  Memo sizeEquals_, size_;
  BracketLookahead bracketsAhead_;

  std::uint32_t cycles_ = 0;
  // The next two words of the line, looked at ahead (their `at` is npos when unknown).
  Upcoming next_, afterNext_;

  // The modern reading (read from the settings at the start of every line).
  bool modern_ = false;
  StopWords stopWords_;         // those of the page's language
  std::string skipName_;        // the element whose content is skipped; empty when none
  std::int64_t skipDepth_ = 0;  // its nesting within itself
  // A title or heading has begun and no word of it is taken yet: its first word may be the
  // label of a numbered chapter ("Chapter 3. Networking").
  bool labelPossible_ = false;
  WordSplitter splitter_;
  std::string spelled_;
  // Elements that change how words count: code examples (not at all), the page's main text
  // (outside it, half, when the page has one), links (for the link density of blocks).
  std::int64_t codeDepth_ = 0;
  std::string signatureName_;  // the element of a code signature being read; empty when none
  std::int64_t signatureDepth_ = 0;
  bool signatureInHeading_ = false;  // it is a heading, whose end the heading level shows
  bool inLink_ = false;
  LinkDensity blocks_{*this};
  WordStemmer stemmer_;
};

}  // namespace tagwright
